import QtQuick
import QtQuick.Controls.Basic
import Korvanta.Design as DS
import Korvanta.Ui

// The buttons of the dashboard and the walkthrough: primary (accent), light, ghost.
Button {
    id: control
    property string kind: "light"
    property color accent: DS.T.C.yellow
    padding: 10
    leftPadding: 16
    rightPadding: 16
    font.family: Look.sans
    font.pixelSize: 14
    font.weight: Font.DemiBold
    contentItem: Text {
        text: control.text
        font: control.font
        color: control.kind === "primary" ? "#10100e" : DS.T.C.fg
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        radius: height / 2
        color: control.kind === "primary" ? control.accent
             : control.kind === "light" ? DS.T.C.fg14 : "transparent"
        border.color: control.kind === "ghost" ? DS.T.C.fg14 : "transparent"
        opacity: control.enabled ? (control.down ? 0.8 : 1) : 0.5
    }
}
