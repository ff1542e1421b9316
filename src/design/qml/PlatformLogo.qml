import QtQuick
import Korvanta.Design

// A platform's logo in one colour: Framer drawn as a shape, the others from
// their logo file, or the platform's initial when the file is missing.
Item {
    id: root
    property string platform
    property color color: T.C.fg
    readonly property bool showsInitial: platform !== "framer" && !image.loaded

    implicitWidth: 16
    implicitHeight: 16

    FramerLogo {
        anchors.fill: parent
        visible: root.platform === "framer"
        color: root.color
    }
    LogoImage {
        id: image
        anchors.fill: parent
        visible: root.platform !== "framer" && loaded
        cache: LogoCache
        file: root.platform === "framer" ? "" : T.logoFile(root.platform)
        color: root.color
    }
    Text {
        anchors.centerIn: parent
        visible: root.showsInitial
        text: T.platformName(root.platform).charAt(0)
        color: root.color
        font.bold: true
        font.pixelSize: Math.max(1, root.height * 0.8)
    }
}
