import QtQuick
import Korvanta.Design

// A circular platform badge: the platform's logo on its brand colour,
// optionally ringed. Without a platform: Korvanta's mark on the accent.
Item {
    id: root
    property string platform
    property real size: 36
    property bool ring: false

    readonly property color brand: platform ? T.platformColor(platform) : T.C.yellow

    implicitWidth: size
    implicitHeight: size

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: root.brand
        border.width: root.ring ? Math.max(1.5, root.size * 0.06) : 0
        border.color: T.C.fg
    }
    PlatformLogo {
        visible: root.platform !== ""
        anchors.centerIn: parent
        width: root.size * 0.5
        height: width
        platform: root.platform
        color: Qt.colorEqual(root.brand, "white") || root.brand.hslLightness > 0.6 ? T.C.ink : T.C.fg
    }
    Mark {
        visible: root.platform === ""
        anchors.centerIn: parent
        size: root.size * 0.56
        color: T.C.ink
    }
}
