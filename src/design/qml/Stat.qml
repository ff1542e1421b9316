import QtQuick
import Korvanta.Design

// A large figure with its caption below.
Column {
    id: root
    property string value
    property string label
    property color color: T.C.fg
    spacing: 2

    Text {
        text: root.value
        font: T.F.statValue
        color: root.color
    }
    Text {
        text: root.label
        font: T.F.statLabel
        color: T.C.fg64
    }
}
