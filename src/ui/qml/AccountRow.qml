import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

// One line of the accounts pane: avatar, name, a detail or health line, a button.
RowLayout {
    id: row
    property string platform
    property string label
    property string detail
    property bool healthy: true
    property bool mark: false
    property string action
    signal triggered
    Layout.fillWidth: true
    spacing: 10
    DS.Avatar { platform: row.platform; size: 28 }
    ColumnLayout {
        spacing: 1
        Layout.fillWidth: true
        Text { text: row.label; color: DS.T.C.fg; font.pixelSize: 14; elide: Text.ElideRight; Layout.fillWidth: true }
        RowLayout {
            spacing: 5
            Rectangle {
                visible: row.mark
                width: 6; height: 6; radius: 3
                color: row.healthy ? DS.T.C.good : "#ff453a"
            }
            Text {
                objectName: "detail"
                text: row.detail
                color: row.mark && !row.healthy ? "#ff453a" : DS.T.C.fg64
                font.pixelSize: 12
                elide: Text.ElideRight
                Layout.fillWidth: true
            }
        }
    }
    Button {
        objectName: "action"
        text: row.action
        onClicked: row.triggered()
    }
}
