import QtQuick
import Korvanta.Design

// A segmented row of choices. `selection` is the chosen option; `label`
// turns an option into its text.
Rectangle {
    id: root
    property var options: []
    property var label: function (option) { return String(option) }
    property var selection

    implicitWidth: row.implicitWidth + 6
    implicitHeight: 32
    radius: height / 2
    color: T.C.fg06
    border.width: 1
    border.color: T.C.ghostStroke

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 2
        Repeater {
            model: root.options
            delegate: Rectangle {
                required property var modelData
                readonly property bool chosen: root.selection === modelData
                width: text.implicitWidth + 24
                height: root.height - 6
                radius: height / 2
                color: chosen ? T.C.fg : "transparent"
                Behavior on color { ColorAnimation { duration: T.M.chip.duration; easing: T.M.chip.easing } }
                Text {
                    id: text
                    anchors.centerIn: parent
                    text: root.label(parent.modelData)
                    font: T.F.chip
                    color: parent.chosen ? T.C.ink : T.C.fg64
                }
                MouseArea {
                    anchors.fill: parent
                    cursorShape: Qt.PointingHandCursor
                    onClicked: root.selection = parent.modelData
                }
            }
        }
    }
}
