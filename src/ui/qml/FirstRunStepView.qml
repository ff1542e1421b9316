import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

// The current screen of the walkthrough: title, body, its controls, buttons.
ColumnLayout {
    id: view
    required property FirstRunModel model
    readonly property int step: model.step
    readonly property bool formStep: step === 4 && !model.framerKey
    spacing: 16

    DS.Avatar { visible: view.step === 0; size: 56 }
    Text {
        objectName: "stepTitle"
        visible: text !== ""
        text: view.model.title
        color: DS.T.C.fg; font.family: Look.display; font.pixelSize: 32; font.weight: Font.Medium
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }
    Text {
        objectName: "stepBody"
        visible: text !== ""
        text: view.model.body
        color: DS.T.C.fg64; font.pixelSize: 15
        wrapMode: Text.WordWrap; lineHeight: 1.2
        Layout.fillWidth: true
    }

    Flow {
        visible: view.step === 1
        spacing: 8
        Layout.fillWidth: true
        Repeater {
            model: view.model.platforms
            DS.Avatar {
                required property var modelData
                platform: modelData.platform; size: 34
                ToolTip.text: modelData.name
                ToolTip.visible: hover.hovered
                HoverHandler { id: hover }
            }
        }
    }

    PillButton {
        visible: view.step === 2
        text: view.model.demoLabel
        onClicked: view.model.playDemo()
    }

    GridLayout {
        visible: view.step === 3
        columns: 4; columnSpacing: 8; rowSpacing: 8
        Repeater {
            model: view.model.pickable
            Rectangle {
                required property var modelData
                objectName: "tile_" + modelData.platform
                implicitWidth: 148; implicitHeight: 40; radius: 10
                color: tileHover.hovered ? DS.T.C.fg14 : DS.T.C.fg08
                RowLayout {
                    anchors.fill: parent; anchors.leftMargin: 8; spacing: 8
                    DS.Avatar { platform: modelData.platform; size: 24 }
                    Text { text: modelData.name; color: DS.T.C.fg; font.pixelSize: 13; elide: Text.ElideRight; Layout.fillWidth: true }
                }
                HoverHandler { id: tileHover }
                TapHandler { onTapped: view.model.pick(modelData.platform) }
            }
        }
    }

    Loader {
        active: view.formStep && view.model.form !== null
        visible: active
        Layout.fillWidth: true
        sourceComponent: ConnectForm {
            form: view.model.form
            cancelLabel: "Back"
            branded: true
            onCancelled: view.model.backToPick()
        }
    }

    ColumnLayout {
        visible: view.step === 5
        spacing: 10
        Text { text: view.model.soundLabel; color: DS.T.C.fg64; font.pixelSize: 13 }
        Row {
            spacing: 4
            Repeater {
                model: view.model.chimes
                TodayChip {
                    required property var modelData
                    label: modelData.label; selected: modelData.selected
                    onClicked: view.model.chooseChime(modelData.id)
                }
            }
        }
        Text { text: view.model.restLabel; color: DS.T.C.fg64; font.pixelSize: 13 }
        Row {
            spacing: 4
            Repeater {
                model: view.model.restStyles
                TodayChip {
                    required property var modelData
                    label: modelData.label; selected: modelData.selected
                    onClicked: view.model.chooseRestStyle(modelData.id)
                }
            }
        }
    }

    Switch {
        visible: view.step === 6
        text: view.model.loginLabel
        checked: view.model.openAtLogin
        onToggled: view.model.openAtLogin = checked
        palette.windowText: DS.T.C.fg
    }

    Item { Layout.fillHeight: true }

    RowLayout {
        visible: !view.formStep
        opacity: view.step === 2 && !view.model.played ? 0.5 : 1
        spacing: 10
        PillButton {
            objectName: "primary"
            visible: view.step !== 3
            text: view.model.primaryLabel
            kind: "primary"
            onClicked: view.model.primary()
        }
        PillButton {
            objectName: "secondary"
            visible: view.model.secondaryLabel !== ""
            text: view.model.secondaryLabel
            kind: "ghost"
            onClicked: view.model.secondary()
        }
        Text {
            objectName: "later"
            visible: view.step === 3
            text: view.model.laterLabel
            color: DS.T.C.yellow; font.pixelSize: 14; font.underline: true
            TapHandler { onTapped: view.model.later() }
        }
    }

    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: !view.formStep && view.step !== 3
        onActivated: view.model.primary()
    }
}
