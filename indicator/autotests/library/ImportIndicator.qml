// Loaded by the qml tool from an installed indicator: the module is found through the import
// path, the item is created with its properties, and the enumerations are reachable in the
// documented spelling and in the older ones.
import QtQuick
import Lumo.Indicator

Item {
    LumoIndicator {
        id: lcd
        indicatorKind: LumoIndicator.ik9segment
        indicatorString: "12:34"
        indicatorAngle: 900
    }
    Timer {
        interval: 0
        running: true
        onTriggered: Qt.exit(lcd.indicatorKind === Lumo.Ik9Segment && lcd.indicatorKind === Lumo.ik9segment
                             && lcd.implicitWidth === 36 && lcd.implicitHeight === 172 ? 0 : 3)
    }
}
