import QtQuick
import QtQuick.Layouts
import Korvanta.Design as DS
import Korvanta.Ui

// The dashboard inside the open island. It only shows what its model
// computed, and reports its height so the island can fit it.
Item {
    id: root
    required property TodayModel model
    implicitHeight: body.implicitHeight + 34
    onImplicitHeightChanged: model.reportHeight(implicitHeight)
    Component.onCompleted: { model.active = visible; model.reportHeight(implicitHeight) }
    Component.onDestruction: model.active = false
    onVisibleChanged: model.active = visible

    // Picking a tab cross-fades the content.
    NumberAnimation {
        id: swap
        target: content; property: "opacity"; from: 0; to: 1; duration: 170
        easing.type: Easing.Bezier; easing.bezierCurve: [0.22, 1.0, 0.36, 1.0, 1.0, 1.0]
    }

    ColumnLayout {
        id: body
        anchors { left: parent.left; right: parent.right; top: parent.top }
        anchors { leftMargin: 22; rightMargin: 22; topMargin: 12 }
        spacing: 14

        Flow {
            Layout.fillWidth: true
            spacing: 6
            visible: root.model.showChips && !root.model.notConnected
            Repeater {
                model: root.model.tabs
                delegate: TodayChip {
                    required property var modelData
                    label: modelData.label
                    selected: modelData.selected
                    accent: root.model.accentHex
                    onClicked: {
                        root.model.select(modelData.id)
                        swap.restart()
                    }
                }
            }
        }

        NotConnected {
            visible: root.model.notConnected
            Layout.fillWidth: true
            model: root.model
        }

        ColumnLayout {
            id: content
            visible: !root.model.notConnected
            Layout.fillWidth: true
            spacing: 14

            RowLayout {
                spacing: 12
                DS.Avatar { platform: root.model.avatarPlatform; size: 38 }
                ColumnLayout {
                    spacing: 2
                    Layout.fillWidth: true
                    Text {
                        objectName: "title"
                        text: root.model.title
                        color: DS.T.C.fg; font.family: Look.display; font.pixelSize: 18
                        font.weight: Font.Medium
                        elide: Text.ElideRight; maximumLineCount: 1
                        Layout.fillWidth: true
                    }
                    Text {
                        objectName: "subtitle"
                        text: root.model.subtitle
                        color: DS.T.C.fg64; font.family: Look.sans; font.pixelSize: 14
                        font.weight: Font.Medium
                        elide: Text.ElideRight
                        Layout.fillWidth: true
                    }
                }
            }

            RowLayout {
                spacing: 12
                Repeater {
                    model: root.model.stats
                    delegate: ColumnLayout {
                        required property var modelData
                        required property int index
                        Layout.fillWidth: true
                        Layout.preferredWidth: 1
                        spacing: 0
                        Text {
                            objectName: "stat" + index
                            text: modelData.value
                            color: index === 0 ? root.model.accentHex : DS.T.C.fg
                            font.family: Look.display; font.pixelSize: 40; font.weight: Font.Medium
                            fontSizeMode: Text.HorizontalFit; minimumPixelSize: 18
                            Layout.fillWidth: true
                        }
                        Text {
                            text: modelData.label
                            color: DS.T.C.fg64; font.family: Look.sans; font.pixelSize: 15
                        }
                    }
                }
            }

            TopList { model: root.model; Layout.fillWidth: true }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            Rectangle {
                width: 7; height: 7; radius: 3.5
                color: root.model.retrying ? DS.T.C.warn : DS.T.C.good
            }
            Text {
                objectName: "status"
                text: root.model.statusLine
                color: root.model.retrying ? DS.T.C.warn : DS.T.C.fg64
                font.family: Look.sans; font.pixelSize: 13; font.weight: Font.Medium
                elide: Text.ElideRight
                Layout.fillWidth: true
            }
            PillButton {
                visible: !root.model.notConnected
                text: root.model.shareLabel
                onClicked: root.model.share()
            }
            PillButton {
                text: root.model.openLabel + "  ↗"
                kind: "ghost"
                onClicked: root.model.openDashboard()
            }
        }
    }
}
