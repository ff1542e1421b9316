import QtQuick
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

// One group of a settings form: an optional title, its rows on a card, a footer.
ColumnLayout {
    id: section
    property string title: ""
    property string footer: ""
    property color footerColor: DS.T.C.fg64
    default property alias rows: card.data
    Layout.fillWidth: true
    spacing: 6
    Text {
        visible: section.title !== ""
        text: section.title
        color: DS.T.C.fg64; font.pixelSize: 12; font.weight: Font.DemiBold
    }
    Rectangle {
        Layout.fillWidth: true
        implicitHeight: card.implicitHeight + 20
        radius: 10
        color: DS.T.C.fg08
        ColumnLayout {
            id: card
            anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter }
            anchors.leftMargin: 14; anchors.rightMargin: 14
            spacing: 8
        }
    }
    Text {
        visible: section.footer !== ""
        text: section.footer
        color: section.footerColor; font.pixelSize: 12
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }
}
