import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Notch as Notch
import Korvanta.Ui

// "Welcome to Korvanta": seven screens on the dark page, one at a time.
ApplicationWindow {
    id: window
    required property FirstRunModel model
    title: "Welcome to Korvanta"
    width: 720; height: 520
    minimumWidth: 720; maximumWidth: 720
    minimumHeight: 520; maximumHeight: 520
    flags: Qt.Window | Qt.WindowTitleHint | Qt.WindowCloseButtonHint
    color: DS.T.C.page
    font.family: Look.sans

    Notch.RibsView {
        objectName: "ribs"
        anchors.fill: parent
        color: window.model.ribsColor
        reach: window.model.ribsReach
        vreach: window.model.ribsVreach
        extra: window.model.ribsExtra
        shown: true // the window, and so the page, exists only while open
        linger: 0
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 44
        spacing: 22

        Row {
            objectName: "stepDots"
            spacing: 6
            Repeater {
                model: window.model.stepCount
                Rectangle {
                    required property int index
                    width: index === window.model.step ? 18 : 6
                    height: 6; radius: 3
                    color: index === window.model.step ? DS.T.C.yellow : DS.T.C.fg14
                    Behavior on width { NumberAnimation { duration: 200 } }
                }
            }
        }

        FirstRunStepView {
            id: stepView
            model: window.model
            Layout.fillWidth: true
            Layout.fillHeight: true
            // Each new screen fades in with a short rise.
            Connections {
                target: window.model
                function onStepChanged() { enter.restart() }
            }
            ParallelAnimation {
                id: enter
                NumberAnimation { target: stepView; property: "opacity"; from: 0; to: 1; duration: 250; easing.type: Easing.OutCubic }
                NumberAnimation { target: stepView; property: "y"; from: stepView.y + 8; to: stepView.y; duration: 250; easing.type: Easing.OutCubic }
            }
        }
    }
}
