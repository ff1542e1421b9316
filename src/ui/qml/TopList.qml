import QtQuick
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

// "Today's top sellers": the header toggles the list of the day's best rows.
ColumnLayout {
    id: list
    required property TodayModel model
    spacing: 8

    RowLayout {
        spacing: 6
        Text {
            text: list.model.topHeader
            color: DS.T.C.fg64; font.family: Look.sans; font.pixelSize: 13; font.weight: Font.Medium
        }
        Text {
            text: "⌄"
            color: DS.T.C.fg64; font.pixelSize: 13
            rotation: list.model.showTop ? 180 : 0
            Behavior on rotation { NumberAnimation { duration: 200 } }
        }
        Item { Layout.fillWidth: true }
        TapHandler { onTapped: list.model.toggleTop() }
    }

    Repeater {
        model: list.model.showTop ? list.model.topRows : []
        delegate: RowLayout {
            required property var modelData
            required property int index
            Layout.fillWidth: true
            spacing: 10
            Text {
                text: index + 1
                color: DS.T.C.fg64; font.family: Look.sans; font.pixelSize: 13
                Layout.preferredWidth: 14
            }
            DS.Avatar { visible: modelData.platform !== ""; platform: modelData.platform; size: 20 }
            Text {
                objectName: "rowTitle" + index
                text: modelData.title
                color: DS.T.C.fg; font.family: Look.sans; font.pixelSize: 15
                elide: Text.ElideRight
                Layout.fillWidth: true
            }
            Text {
                text: modelData.detail
                color: DS.T.C.fg64; font.family: Look.sans; font.pixelSize: 13
            }
            Text {
                objectName: "rowAmount" + index
                text: modelData.amount
                color: DS.T.C.fg; font.family: Look.sans; font.pixelSize: 15; font.weight: Font.DemiBold
                horizontalAlignment: Text.AlignRight
                Layout.minimumWidth: 70
            }
        }
    }
}
