import QtQuick
import QtQuick as QQ
import Korvanta.Design

// A styled button: `title`, `kind`, an optional `icon` (a platform raw value
// drawn as its logo, or "mark"), and `action` called on a click.
Item {
    id: root
    property string title
    property int kind: ButtonKind.Primary
    property string icon
    property var action: function () {}

    implicitWidth: row.implicitWidth + 36
    implicitHeight: 40
    Accessible.role: Accessible.Button
    Accessible.name: title

    ButtonLook {
        id: look
        anchors.fill: parent
        kind: root.kind
    }
    QQ.Row {
        id: row
        anchors.centerIn: parent
        spacing: 8
        Loader {
            active: root.icon !== ""
            visible: active
            anchors.verticalCenter: parent.verticalCenter
            sourceComponent: root.icon === "mark" ? markIcon : logoIcon
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: root.title
            font: T.F.button
            color: look.ink
        }
    }
    Component {
        id: markIcon
        Mark { size: 16; color: look.ink }
    }
    Component {
        id: logoIcon
        PlatformLogo { width: 16; height: 16; platform: root.icon; color: look.ink }
    }
    Press {
        onClicked: root.action()
    }
}
