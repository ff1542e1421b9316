import QtQuick
import Korvanta.Design
import Korvanta.Notch

// The island hanging from the top edge of the 900 × 500 canvas, centred:
// its black shape, the ribs behind, and the content of the phase. Size and
// corners follow the model with the model's springs.
Item {
    id: root
    property QtObject model
    property QtObject content
    // The island as drawn right now; the controller takes input only there.
    readonly property size shown: Qt.size(width_.value, height_.value)

    readonly property int phase: model.phase
    readonly property real notchHeight: model.notch.height
    readonly property string momentPlatform: model.moment ? model.moment.platform : ""

    width: 900
    height: 500

    SpringValue {
        id: width_
        to: root.model.islandSize.width
        response: root.model.animation.response
        damping: root.model.animation.damping
    }
    SpringValue {
        id: height_
        to: root.model.islandSize.height
        response: root.model.animation.response
        damping: root.model.animation.damping
    }
    SpringValue {
        id: radius_
        to: root.model.radius
        response: root.model.animation.response
        damping: root.model.animation.damping
    }

    Item {
        id: island
        objectName: "island"
        anchors.horizontalCenter: parent.horizontalCenter
        width: width_.value
        height: height_.value
        clip: true

        IslandShape {
            anchors.fill: parent
            radius: radius_.value
            ear: 7
            color: T.C.island
        }
        RibsView {
            id: ribs
            objectName: "ribs"
            // Inside the body above the bottom corners, so no clipping is needed.
            x: 7
            width: parent.width - 14
            height: Math.max(0, parent.height - radius_.value)
            color: root.phase === NotchModel.Moment ? T.accentHex(root.momentPlatform) : root.model.accentHex
            reach: root.phase === NotchModel.Moment ? 0.55 : root.phase === NotchModel.Share ? 0.3 : 0.36
            vreach: root.phase === NotchModel.Moment ? 0.88 : root.phase === NotchModel.Share ? 0.42 : 0.7
            shown: root.phase === NotchModel.Moment || root.phase === NotchModel.Expanded
                   || root.phase === NotchModel.Share
        }

        PhaseContent {
            objectName: "momentContent"
            active: root.phase === NotchModel.Moment && root.model.moment !== undefined
                    && root.model.moment !== null
            enterDelay: 220
            leaveDuration: 120
            rise: 6
            x: 23
            y: root.notchHeight
            width: parent.width - 46
            height: parent.height - root.notchHeight - 6
            MomentLayout {
                anchors.fill: parent
                moment: root.model.moment || ({})
            }
        }
        PhaseContent {
            objectName: "wings"
            active: root.phase === NotchModel.Afterglow
                    || (root.phase === NotchModel.Rest && root.model.restStyle === RestStyle.Total)
            enterDuration: 200
            leaveDuration: 150
            width: parent.width
            height: root.notchHeight
            Wings {
                anchors.fill: parent
                model: root.model
                bright: root.phase === NotchModel.Afterglow
            }
        }
        PhaseContent {
            objectName: "restDot"
            active: root.phase === NotchModel.Rest && root.model.restStyle === RestStyle.Dot
            enterDuration: 200
            leaveDuration: 150
            width: parent.width
            height: root.notchHeight
            RestDot { anchors.fill: parent }
        }
        PhaseContent {
            id: dashboard
            objectName: "dashboard"
            active: root.phase === NotchModel.Expanded
            enterDelay: 160
            leaveDuration: 100
            rise: 8
            x: 7
            y: root.notchHeight
            width: parent.width - 14
            height: parent.height - root.notchHeight
            Loader {
                id: dashboardLoader
                anchors.fill: parent
                active: dashboard.visible && root.content !== null
                // Created with its model set, only while the phase shows it.
                readonly property var request: root.content ? [root.content.dashboard, root.content.dashboardModel] : []
                onRequestChanged: if (request.length) setSource(request[0], { model: request[1] })
            }
        }
        PhaseContent {
            id: share
            objectName: "share"
            active: root.phase === NotchModel.Share
            enterDelay: 200
            leaveDuration: 150
            x: 7
            y: root.notchHeight
            width: parent.width - 14
            height: parent.height - root.notchHeight
            Loader {
                id: shareLoader
                anchors.fill: parent
                active: share.visible && root.content !== null
                // Created with its model set, only while the phase shows it.
                readonly property var request: root.content ? [root.content.shareSheet, root.content.shareSheetModel] : []
                onRequestChanged: if (request.length) setSource(request[0], { model: request[1] })
            }
        }
    }
}
