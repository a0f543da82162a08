// Every property of LumoIndicator given, in the spelling the documentation uses: qmllint
// accepts the file without a warning, and the QML test reads the values back.
import QtQuick
import Lumo.Indicator

LumoIndicator {
    id: lcd
    property int entered: 0

    colorScheme: Lumo.CsZORA
    signNumber: 6
    indicatorWidth: 200
    indicatorHeight: 40
    indicatorAngle: 300
    indicatorGap: 3
    indicatorString: "12:34"
    indicatorKind: Lumo.Ik9Segment
    innerBevel: Lumo.BkUP
    outerBevel: Lumo.BkNone
    innerBevelWidth: 3
    outerBevelWidth: 1
    bevelColor: "#c08020"
    backColor: "navy"
    numberForeColor: Qt.rgba(1, 0.5, 0, 1)
    numberForeColor1: "red"
    numberBackColor: "#304050"
    indicatorStyle: Lumo.IsThick
    mouseAction: lcd.hovered ? Lumo.MaBoth : Lumo.MaColor
    transparentMode: Lumo.TmBackOnly
    backMaterial: "../doc/gallery.png"
    foreMaterial: "../doc/gallery.png"
    materialShadowMode: Lumo.MsmLight
    materialMode: Lumo.MmTile
    foreMaterialMode: Lumo.MmTile
    onMouseEnter: entered = entered + 1
    onMouseExit: entered = entered - 1
}
