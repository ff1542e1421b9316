import QtQuick
import QtWebEngine
import Korvanta.Notch

// The glowing ribs behind the island's content (or a window's): our own
// "curtain" page on transparency, driven by one script per change. The page
// exists only while `shown` and for `linger` ms after (its fade-out); a web
// page costs far too much memory to keep at rest. It never takes input.
Item {
    id: root
    property string color: "#ffe03a"
    property real reach: 0.36
    property real vreach: 0.7
    property bool shown: false
    property string extra: ""
    property int linger: 1500
    readonly property alias host: host
    readonly property bool alive: shown || lingering.running

    enabled: false // clicks and hovers go to the content above or through

    RibsHost {
        id: host
        color: root.color
        reach: root.reach
        vreach: root.vreach
        shown: root.shown
        extra: root.extra
    }
    Timer {
        id: lingering
        interval: root.linger
    }
    onShownChanged: if (!shown) lingering.restart()

    Loader {
        id: page
        anchors.fill: parent
        active: root.alive
        onActiveChanged: if (!active) host.pageGone()
        sourceComponent: WebEngineView {
            backgroundColor: "transparent"
            profile: WebEngineProfile { offTheRecord: true }
            url: "qrc:/curtain/curtain.html"
            onLoadingChanged: function (request) {
                if (request.status === WebEngineView.LoadSucceededStatus)
                    host.pageLoaded(true)
            }
            Connections {
                target: host
                function onEvaluate(script) { runJavaScript(script) }
            }
        }
    }
}
