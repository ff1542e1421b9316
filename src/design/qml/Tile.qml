import QtQuick
import Korvanta.Design

// A selectable platform tile: the badge over the platform's name.
Rectangle {
    id: root
    property string platform
    property var action: function () {}

    implicitWidth: 120
    implicitHeight: 96
    radius: 16
    color: press.containsMouse ? T.C.fg08 : T.C.fg06
    border.width: 1
    border.color: T.C.ghostStroke

    Column {
        anchors.centerIn: parent
        spacing: 10
        Avatar {
            anchors.horizontalCenter: parent.horizontalCenter
            platform: root.platform
            size: 36
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: T.platformName(root.platform)
            font: T.F.meta
            color: T.C.fg
        }
    }
    Press {
        id: press
        onClicked: root.action()
    }
}
