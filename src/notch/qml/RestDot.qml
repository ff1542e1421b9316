import QtQuick
import Korvanta.Design

// A small glowing dot in the Framer accent, 15 in from the island's right edge.
Item {
    id: root
    readonly property color accent: T.platformColor("framer")

    Repeater {
        // The glow: soft rings of the dot's colour.
        model: [{ size: 14, alpha: 0.18 }, { size: 10, alpha: 0.3 }]
        delegate: Rectangle {
            required property var modelData
            width: modelData.size
            height: width
            radius: width / 2
            x: dot.x + dot.width / 2 - width / 2
            y: dot.y + dot.height / 2 - height / 2
            color: Qt.rgba(root.accent.r, root.accent.g, root.accent.b, modelData.alpha)
        }
    }
    Rectangle {
        id: dot
        objectName: "restDot"
        width: 6
        height: 6
        radius: 3
        anchors.right: parent.right
        anchors.rightMargin: 15
        anchors.verticalCenter: parent.verticalCenter
        color: root.accent
    }
}
