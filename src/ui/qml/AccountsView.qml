import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

// Connected accounts with their health, the platforms still to add, and the
// connect sheet while one is being added.
Item {
    id: pane
    required property AccountsModel model

    ScrollView {
        anchors.fill: parent
        contentWidth: availableWidth
        ColumnLayout {
            width: parent.width
            spacing: 16

            SettingsSection {
                title: "Connected"
                AccountRow {
                    visible: pane.model.framerSignedIn
                    platform: "framer"; label: "Framer Marketplace"
                    detail: "Signed in · remixes, views, rank"
                    action: "Switch account…"
                    onTriggered: pane.model.switchFramer()
                }
                Repeater {
                    model: pane.model.connected
                    AccountRow {
                        required property var modelData
                        objectName: "account_" + modelData.id
                        platform: modelData.platform; label: modelData.label
                        detail: modelData.health; healthy: modelData.ok; mark: true
                        action: "Remove"
                        onTriggered: pane.model.remove(modelData.id)
                    }
                }
                Text {
                    visible: pane.model.nothingConnected
                    text: "Nothing connected yet."
                    color: DS.T.C.fg64
                }
            }

            SettingsSection {
                title: "Add a platform"
                AccountRow {
                    visible: !pane.model.framerSignedIn
                    platform: "framer"; label: "Framer Marketplace"
                    detail: "Sign in with Framer · remixes, views, rank"
                    action: "Connect"
                    onTriggered: pane.model.connectFramer()
                }
                Repeater {
                    model: pane.model.addable
                    AccountRow {
                        required property var modelData
                        objectName: "add_" + modelData.platform
                        platform: modelData.platform; label: modelData.name
                        detail: modelData.blurb
                        action: "Connect"
                        onTriggered: pane.model.add(modelData.platform)
                    }
                }
            }

            Text {
                text: pane.model.footer
                color: DS.T.C.fg64; font.pixelSize: 12
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }
        }
    }

    Popup {
        id: sheet
        objectName: "connectSheet"
        anchors.centerIn: parent
        width: 460 + 48
        padding: 24
        modal: true
        closePolicy: Popup.NoAutoClose
        visible: pane.model.form !== null
        background: Rectangle { radius: 14; color: "#1b1b18"; border.color: DS.T.C.fg14 }
        contentItem: Loader {
            active: pane.model.form !== null
            sourceComponent: ConnectForm {
                form: pane.model.form
                cancelLabel: "Cancel"
                onCancelled: pane.model.closeSheet()
            }
        }
    }
}
