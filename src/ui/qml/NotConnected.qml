import QtQuick
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

// What the dashboard shows before anything is connected.
ColumnLayout {
    id: view
    required property TodayModel model
    spacing: 8
    Text {
        text: view.model.emptyTitle
        color: DS.T.C.fg; font.family: Look.display; font.pixelSize: 18; font.weight: Font.Medium
    }
    Text {
        text: view.model.emptyText
        color: DS.T.C.fg64; font.family: Look.sans; font.pixelSize: 15
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }
    PillButton {
        Layout.topMargin: 6
        text: view.model.emptyButton
        kind: "primary"
        onClicked: view.model.connectPlatform()
    }
}
