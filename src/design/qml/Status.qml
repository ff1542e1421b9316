import QtQuick
import QtQuick as QQ
import Korvanta.Design

// A status line with a coloured dot before it; `warn` uses the warning colour.
QQ.Row {
    id: root
    property string text
    property color color: T.C.good
    property bool warn: false
    spacing: 8

    Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: 7
        height: 7
        radius: 3.5
        color: root.warn ? T.C.warn : root.color
    }
    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: root.text
        font: T.F.meta
        color: root.warn ? T.C.warn : T.C.fg64
    }
}
