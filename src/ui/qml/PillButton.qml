import QtQuick
import QtQuick.Controls.Basic
import Korvanta.Ui

// The buttons of the dashboard and the walkthrough: primary (accent), light, ghost.
Button {
    id: control
    property string kind: "light"
    property color accent: Look.yellow
    padding: 10
    leftPadding: 16
    rightPadding: 16
    font.family: Look.sans
    font.pixelSize: 14
    font.weight: Font.DemiBold
    contentItem: Text {
        text: control.text
        font: control.font
        color: control.kind === "primary" ? "#10100e" : Look.fg
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        radius: height / 2
        color: control.kind === "primary" ? control.accent
             : control.kind === "light" ? Look.fg14 : "transparent"
        border.color: control.kind === "ghost" ? Look.fg14 : "transparent"
        opacity: control.enabled ? (control.down ? 0.8 : 1) : 0.5
    }
}
