import QtQuick

// The pressed look shared by the buttons: fills its parent, takes the
// clicks, and shrinks the parent a little while held.
MouseArea {
    id: root
    anchors.fill: parent
    cursorShape: Qt.PointingHandCursor
    hoverEnabled: true

    Binding {
        target: root.parent
        property: "scale"
        value: root.pressed ? 0.97 : 1.0
    }
    Binding {
        target: root.parent
        property: "opacity"
        value: root.pressed ? 0.85 : 1.0
    }
}
