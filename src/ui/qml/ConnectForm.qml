import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

// The connect form: the connector's help as numbered steps, the link where
// the key is made, the inputs, the note and the error, then Cancel and
// Connect. Escape cancels and Return connects.
ColumnLayout {
    id: root
    required property ConnectFormModel form
    property string cancelLabel: ""
    property bool branded: false
    signal cancelled
    spacing: 12

    RowLayout {
        spacing: 10
        DS.Avatar { platform: root.form.platform; size: 32 }
        Text {
            text: root.form.title
            color: DS.T.C.fg; font.family: Look.display; font.pixelSize: 18; font.weight: Font.Medium
        }
    }

    Repeater {
        model: root.form.steps
        delegate: RowLayout {
            required property string modelData
            required property int index
            Layout.fillWidth: true
            spacing: 8
            Text {
                text: (index + 1) + "."
                color: DS.T.C.fg64; font.family: Look.sans; font.pixelSize: 14
                Layout.alignment: Qt.AlignTop
            }
            Text {
                objectName: "step" + index
                text: modelData
                textFormat: Text.RichText
                color: DS.T.C.fg; font.family: Look.sans; font.pixelSize: 14
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }
        }
    }

    PillButton {
        visible: root.form.linkLabel !== ""
        text: root.form.linkLabel + "  ↗"
        kind: "ghost"
        onClicked: root.form.openLink()
    }

    Repeater {
        model: root.form.fields
        delegate: ColumnLayout {
            required property var modelData
            Layout.fillWidth: true
            spacing: 4
            Text {
                text: modelData.label
                color: DS.T.C.fg64; font.family: Look.sans; font.pixelSize: 12; font.weight: Font.Medium
            }
            TextField {
                objectName: "field_" + modelData.key
                Layout.fillWidth: true
                placeholderText: modelData.placeholder
                echoMode: modelData.secret ? TextInput.Password : TextInput.Normal
                text: root.form.value(modelData.key)
                color: DS.T.C.fg
                placeholderTextColor: Qt.rgba(244 / 255, 242 / 255, 236 / 255, 0.35)
                font.family: Look.sans; font.pixelSize: 14
                background: Rectangle { radius: 8; color: DS.T.C.fg08; border.color: parent.activeFocus ? DS.T.C.fg64 : DS.T.C.fg14 }
                onTextEdited: root.form.setValue(modelData.key, text)
                onAccepted: root.form.submit()
            }
        }
    }

    Text {
        visible: text !== ""
        text: root.form.note
        color: DS.T.C.fg64; font.family: Look.sans; font.pixelSize: 13
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }

    Text {
        objectName: "error"
        visible: text !== ""
        text: root.form.error
        color: DS.T.C.warn; font.family: Look.sans; font.pixelSize: 13
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 8
        Item { Layout.fillWidth: true }
        PillButton {
            objectName: "cancel"
            visible: root.cancelLabel !== ""
            text: root.cancelLabel
            kind: "ghost"
            onClicked: root.cancelled()
        }
        PillButton {
            objectName: "connect"
            text: root.form.connectLabel
            enabled: !root.form.busy
            kind: root.branded ? "primary" : "light"
            onClicked: root.form.submit()
        }
    }

    Shortcut {
        sequences: [StandardKey.Cancel]
        enabled: root.visible && root.cancelLabel !== ""
        onActivated: root.cancelled()
    }
    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: root.visible && !root.form.busy
        onActivated: root.form.submit()
    }
}
