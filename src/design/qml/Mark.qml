import QtQuick
import Korvanta.Design

// Korvanta's mark in a square of `size`.
MarkItem {
    property real size: 24
    implicitWidth: size
    implicitHeight: size
    color: T.C.fg
}
