pragma Singleton
import QtQuick

// The colours and fonts of the windows and the dashboard.
QtObject {
    readonly property color page: "#10100e"
    readonly property color fg: "#f4f2ec"
    readonly property color fg64: Qt.rgba(244 / 255, 242 / 255, 236 / 255, 0.64)
    readonly property color fg14: Qt.rgba(244 / 255, 242 / 255, 236 / 255, 0.14)
    readonly property color fg08: Qt.rgba(244 / 255, 242 / 255, 236 / 255, 0.08)
    readonly property color yellow: "#ffe03a"
    readonly property color good: "#5be37d"
    readonly property color warn: "#ff9f0a"
    readonly property string display: "Funnel Display"
    readonly property string sans: "Funnel Sans"
}
