// A small clock made of two LumoIndicator displays: the time, and the date turned by 15
// degrees. Clicking the scheme button, or either display, switches the colour scheme.
// Run it with the qml tool, the module on the import path:
//   /usr/lib/qt6/bin/qml -I <prefix>/lib/qt6/qml Clock.qml
import QtQuick
import Lumo.Indicator

Rectangle {
    id: root
    width: 420
    height: 260
    color: "#b8c0c8"

    readonly property var schemes: [Lumo.CsSilver, Lumo.CsInvSilver, Lumo.CsWhite,
        Lumo.CsBlack, Lumo.CsPlasma, Lumo.CsInvPlasma, Lumo.CsZORA]
    readonly property var schemeNames: ["Silver", "InvSilver", "White", "Black", "Plasma", "InvPlasma", "ZORA"]
    property int scheme: 0
    property date now: new Date()

    function nextScheme() { scheme = (scheme + 1) % schemes.length }

    Timer {
        interval: 500
        running: true
        repeat: true
        onTriggered: root.now = new Date()
    }

    LumoIndicator {
        id: time
        x: 20
        y: 20
        signNumber: 8
        indicatorWidth: 380
        indicatorHeight: 80
        indicatorGap: 6
        indicatorKind: Lumo.Ik9Segment
        mouseAction: Lumo.MaColor
        colorScheme: root.schemes[root.scheme]
        indicatorString: Qt.formatTime(root.now, "hh:mm:ss")
        TapHandler { onTapped: root.nextScheme() }
    }

    LumoIndicator {
        id: date
        anchors.horizontalCenter: parent.horizontalCenter
        y: 118
        signNumber: 10
        indicatorWidth: 240
        indicatorHeight: 40
        indicatorAngle: 150
        indicatorStyle: Lumo.IsThin
        mouseAction: Lumo.MaWidth
        transparentMode: Lumo.TmBackOnly
        colorScheme: root.schemes[root.scheme]
        indicatorString: Qt.formatDate(root.now, "yyyy-MM-dd")
        TapHandler { onTapped: root.nextScheme() }
    }

    Rectangle {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 12
        width: label.implicitWidth + 24
        height: label.implicitHeight + 12
        radius: 4
        color: tap.pressed ? "#606870" : "#50585f"
        Text {
            id: label
            anchors.centerIn: parent
            color: "white"
            text: "Scheme: " + root.schemeNames[root.scheme]
        }
        TapHandler { id: tap; onTapped: root.nextScheme() }
    }
}
