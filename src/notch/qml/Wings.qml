import QtQuick
import Korvanta.Design

// The resting island's wings beside the notch: a marker on the left, today's
// figure on the right; bright in the afterglow.
Item {
    id: root
    property var model
    property bool bright: false
    property real notchWidth: 185

    readonly property bool accounts: model.hasAccounts
    readonly property string figure: accounts
        ? (model.shownRevenue ? model.shownRevenue.text : "–")
        : (model.shownTotal !== undefined && model.shownTotal !== null ? String(model.shownTotal) : "")

    Mark {
        visible: root.accounts
        size: 15
        anchors.left: parent.left
        anchors.leftMargin: 17
        anchors.verticalCenter: parent.verticalCenter
        color: T.C.yellow
        opacity: root.bright ? 1 : 0.5
    }
    FramerLogo {
        visible: !root.accounts
        width: 10
        height: 15
        anchors.left: parent.left
        anchors.leftMargin: 17
        anchors.verticalCenter: parent.verticalCenter
        color: root.bright ? T.platformColor("framer") : T.C.fg
        opacity: root.bright ? 1 : 0.45
    }
    RollingFigure {
        objectName: "figure"
        anchors.right: parent.right
        anchors.rightMargin: 17
        anchors.verticalCenter: parent.verticalCenter
        text: root.figure
        font: T.F.rest
        color: T.C.fg
        opacity: root.bright ? 1 : 0.7
    }
}
