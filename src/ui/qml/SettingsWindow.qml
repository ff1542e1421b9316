import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

// "Korvanta Settings": General, Celebrations and Accounts, at a fixed size.
ApplicationWindow {
    id: window
    required property GeneralSettingsModel general
    required property SoundSettingsModel sound
    required property AccountsModel accounts
    property int currentTab: 0
    title: "Korvanta Settings"
    width: 580; height: 600
    minimumWidth: 580; maximumWidth: 580
    minimumHeight: 600; maximumHeight: 600
    flags: Qt.Window | Qt.WindowTitleHint | Qt.WindowSystemMenuHint | Qt.WindowCloseButtonHint
           | Qt.WindowMinimizeButtonHint
    color: DS.T.C.page
    font.family: Look.sans
    palette.window: DS.T.C.page
    palette.windowText: DS.T.C.fg
    palette.base: "#1b1b18"
    palette.text: DS.T.C.fg
    palette.button: "#262622"
    palette.buttonText: DS.T.C.fg
    palette.highlight: DS.T.C.yellow
    palette.highlightedText: "#10100e"
    palette.mid: "#3a3a34"

    header: TabBar {
        id: tabs
        currentIndex: window.currentTab
        onCurrentIndexChanged: window.currentTab = currentIndex
        background: Rectangle { color: "#161614" }
        Repeater {
            model: ["⚙  General", "♪  Celebrations", "◎  Accounts"]
            TabButton {
                required property string modelData
                text: modelData
                palette.button: "#161614"
                palette.dark: "#262622"
            }
        }
    }

    StackLayout {
        anchors.fill: parent
        anchors.margins: 20
        currentIndex: window.currentTab
        GeneralTab { model: window.general }
        SoundTab { model: window.sound }
        AccountsView { model: window.accounts }
    }
}
