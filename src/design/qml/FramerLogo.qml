import QtQuick
import QtQuick.Shapes

// Framer's mark, drawn: three stacked pieces on a 16 × 24 grid, fitted
// into the item with its aspect ratio kept.
Item {
    id: root
    property color color: "white"

    Shape {
        id: shape
        readonly property real unit: Math.min(root.width / 16, root.height / 24)
        width: 16 * unit
        height: 24 * unit
        anchors.centerIn: parent
        ShapePath {
            fillColor: root.color
            strokeColor: "transparent"
            scale: Qt.size(shape.unit, shape.unit)
            PathSvg { path: "M0 0H16V8H8ZM0 8H8L16 16H0ZM0 16H8V24Z" }
        }
    }
}
