import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

ColumnLayout {
    id: tab
    required property GeneralSettingsModel model
    readonly property var t: model.texts
    spacing: 16

    SettingsSection {
        title: tab.t.startup
        footer: tab.model.loginError
        footerColor: "#ff453a"
        Switch {
            objectName: "openAtLogin"
            text: tab.t.openAtLogin
            checked: tab.model.openAtLogin
            onToggled: { tab.model.openAtLogin = checked; checked = Qt.binding(() => tab.model.openAtLogin) }
        }
    }

    SettingsSection {
        footer: tab.t.screenFooter
        RowLayout {
            Text { text: tab.t.showOn; color: DS.T.C.fg; Layout.fillWidth: true }
            ComboBox {
                objectName: "screen"
                model: tab.model.screens
                textRole: "label"
                valueRole: "value"
                currentIndex: tab.model.builtIn ? 1 : 0
                onActivated: tab.model.builtIn = currentValue
                Layout.preferredWidth: 190
            }
        }
    }

    SettingsSection {
        title: tab.t.atRest
        Text { text: tab.t.restPicker; color: DS.T.C.fg }
        Repeater {
            model: tab.model.restStyles
            RadioButton {
                required property var modelData
                text: modelData.label
                checked: tab.model.restStyle === modelData.value
                onClicked: tab.model.restStyle = modelData.value
            }
        }
    }

    SettingsSection {
        title: tab.t.checking
        footer: tab.t.intervalFootnote
        RowLayout {
            Text { text: tab.t.intervalPicker; color: DS.T.C.fg; Layout.fillWidth: true }
            ComboBox {
                objectName: "interval"
                model: tab.model.intervals
                textRole: "label"
                valueRole: "value"
                // The choices exist only once the box is complete.
                Component.onCompleted: currentIndex = Qt.binding(() => indexOfValue(tab.model.interval))
                onActivated: tab.model.interval = currentValue
                Layout.preferredWidth: 190
            }
        }
    }

    Item { Layout.fillHeight: true }
}
