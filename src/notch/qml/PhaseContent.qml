import QtQuick

// One phase's content: fades in (with a rise from `rise` above) after
// `enterDelay` once `active`, and out quickly before the island shrinks.
// Invisible, and so free, while faded out.
Item {
    id: root
    property bool active: false
    property int enterDelay: 0
    property int enterDuration: 300
    property int leaveDuration: 120
    property real rise: 0

    opacity: 0
    visible: opacity > 0
    transform: Translate { id: shift; y: -root.rise }

    states: State {
        name: "shown"
        when: root.active
        PropertyChanges { target: root; opacity: 1 }
        PropertyChanges { target: shift; y: 0 }
    }
    transitions: [
        Transition {
            to: "shown"
            SequentialAnimation {
                PauseAnimation { duration: root.enterDelay }
                NumberAnimation { properties: "opacity,y"; duration: root.enterDuration; easing.type: Easing.OutCubic }
            }
        },
        Transition {
            from: "shown"
            NumberAnimation { properties: "opacity,y"; duration: root.leaveDuration; easing.type: Easing.InCubic }
        }
    ]
}
