import QtQuick
import Korvanta.Design

// One line of a ranked list: an optional rank, an optional platform badge,
// title and detail, and the amount at the end; `quiet` dims it.
Item {
    id: root
    property int rank: 0 // 0: none
    property string platform
    property string title
    property string detail
    property string amount
    property bool quiet: false

    implicitWidth: 320
    implicitHeight: 44
    opacity: quiet ? 0.55 : 1

    Text {
        id: rankText
        visible: root.rank > 0
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        width: visible ? 22 : 0
        text: root.rank
        font: T.F.meta
        color: T.C.fg64
    }
    Avatar {
        id: badge
        visible: root.platform !== ""
        anchors.left: rankText.right
        anchors.verticalCenter: parent.verticalCenter
        platform: root.platform
        size: visible ? 28 : 0
    }
    Column {
        anchors.left: badge.right
        anchors.leftMargin: badge.visible ? 10 : 0
        anchors.right: amountText.left
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        Text {
            width: parent.width
            text: root.title
            font: T.F.body
            color: T.C.fg
            elide: Text.ElideRight
        }
        Text {
            width: parent.width
            visible: root.detail !== ""
            text: root.detail
            font: T.F.label
            color: T.C.fg64
            elide: Text.ElideRight
        }
    }
    Text {
        id: amountText
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        text: root.amount
        font: T.F.body
        color: T.C.fg
    }
}
