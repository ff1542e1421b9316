import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

ColumnLayout {
    id: tab
    required property SoundSettingsModel model
    readonly property var t: model.texts
    spacing: 16

    SettingsSection {
        title: tab.t.section
        footer: tab.t.footer
        Text { text: tab.t.picker; color: DS.T.C.fg }
        Row {
            spacing: 4
            Repeater {
                model: tab.model.chimes
                delegate: TodayChip {
                    required property var modelData
                    objectName: "chime_" + modelData.value
                    label: modelData.label
                    selected: tab.model.chime === modelData.value
                    onClicked: tab.model.chime = modelData.value
                }
            }
        }
        RowLayout {
            enabled: tab.model.volumeEnabled
            opacity: enabled ? 1 : 0.4
            Text { text: "🔈"; color: DS.T.C.fg64 }
            Slider {
                objectName: "volume"
                from: 0; to: 1; stepSize: 0.05
                value: tab.model.volume
                Layout.fillWidth: true
                // Stored and played once the knob is let go, not on every step of a drag.
                onPressedChanged: if (!pressed) tab.model.volume = value
                onMoved: if (!pressed) tab.model.volume = value
            }
            Text { text: "🔊"; color: DS.T.C.fg64 }
        }
    }

    PillButton {
        text: tab.t.test
        onClicked: tab.model.playTestMoment()
    }

    Item { Layout.fillHeight: true }
}
