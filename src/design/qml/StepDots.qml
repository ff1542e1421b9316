import QtQuick
import QtQuick as QQ
import Korvanta.Design

// Progress through a walkthrough: `count` dots, the `current` one long and bright.
QQ.Row {
    id: root
    property int count: 0
    property int current: 0
    spacing: 6

    Repeater {
        model: root.count
        delegate: Rectangle {
            required property int index
            width: index === root.current ? 18 : 6
            height: 6
            radius: 3
            color: index === root.current ? T.C.fg : T.C.fg14
            Behavior on width { NumberAnimation { duration: T.M.swap.duration; easing: T.M.swap.easing } }
        }
    }
}
