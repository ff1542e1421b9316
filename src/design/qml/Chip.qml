import QtQuick
import Korvanta.Design

// A selectable chip; selected ones take the `accent` colour.
Rectangle {
    id: root
    property bool selected: false
    property color accent: T.C.yellow
    property var action: function () {}
    property string label

    implicitWidth: text.implicitWidth + 24
    implicitHeight: 28
    radius: height / 2
    color: selected ? accent : T.C.fg06
    border.width: selected ? 0 : 1
    border.color: T.C.ghostStroke
    Behavior on color { ColorAnimation { duration: T.M.chip.duration; easing: T.M.chip.easing } }

    Text {
        id: text
        anchors.centerIn: parent
        text: root.label
        font: T.F.chip
        color: root.selected ? T.C.ink : T.C.fg64
    }
    Press {
        onClicked: root.action()
    }
}
