import QtQuick
import Korvanta.Ui

// A round platform badge: the brand colour with the platform's initial;
// with no platform, the accent with Korvanta's.
Rectangle {
    property string platform: ""
    property int size: 36
    width: size
    height: size
    radius: size / 2
    color: PlatformInfo.hex(platform)
    Text {
        anchors.centerIn: parent
        text: PlatformInfo.initial(parent.platform)
        color: Qt.colorEqual(parent.color, "#ffe03a") || parent.color.hslLightness > 0.6 ? "#10100e" : "#ffffff"
        font.family: Look.display
        font.pixelSize: parent.size * 0.46
        font.weight: Font.DemiBold
    }
}
