import QtQuick
import QtQuick as QQ

// A figure whose digits sit in equal cells and roll upwards when they
// change, so a total visibly counts up.
Item {
    id: root
    property string text
    property font font
    property color color

    implicitWidth: row.implicitWidth
    implicitHeight: zero.height

    TextMetrics { id: zero; font: root.font; text: "0" }

    QQ.Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        Repeater {
            model: root.text.length
            delegate: Item {
                id: cell
                required property int index
                readonly property string ch: root.text.charAt(index)
                width: /[0-9]/.test(ch) ? zero.advanceWidth : now.implicitWidth
                height: zero.height
                clip: true
                onChChanged: {
                    before.text = now.text
                    now.text = ch
                    roll.restart()
                }
                Text { id: now; text: cell.ch; font: root.font; color: root.color; y: cell.height * roll.progress }
                Text { id: before; font: root.font; color: root.color; y: now.y - cell.height; visible: roll.running }
                NumberAnimation {
                    id: roll
                    property real progress: 0
                    target: roll; property: "progress"; from: 1; to: 0
                    duration: 450; easing.type: Easing.OutCubic
                }
            }
        }
    }
}
