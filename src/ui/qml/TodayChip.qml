import QtQuick
import Korvanta.Design as DS
import Korvanta.Ui

// One tab of the dashboard.
Rectangle {
    id: chip
    property string label
    property bool selected
    property color accent: DS.T.C.yellow
    signal clicked
    implicitWidth: text.implicitWidth + 22
    implicitHeight: 26
    radius: 13
    color: selected ? Qt.rgba(accent.r, accent.g, accent.b, 0.18) : DS.T.C.fg08
    border.color: selected ? accent : "transparent"
    Behavior on color { ColorAnimation { duration: 200; easing.type: Easing.OutQuad } }
    Text {
        id: text
        anchors.centerIn: parent
        text: chip.label
        color: chip.selected ? DS.T.C.fg : DS.T.C.fg64
        font.family: Look.sans; font.pixelSize: 13; font.weight: Font.Medium
    }
    MouseArea { anchors.fill: parent; cursorShape: Qt.PointingHandCursor; onClicked: chip.clicked() }
}
