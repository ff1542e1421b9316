import QtQuick
import QtWebEngine

// The exporter's off-screen page: the 1200 x 675 point card drawn at zoom 2,
// so the window's 2400 x 1350 pixels are the card's picture.
Item {
    id: root

    required property url page
    required property QtObject channel

    signal loadFinished(bool ok)

    function run(script) {
        web.runJavaScript(script);
    }

    width: 2400
    height: 1350

    WebEngineView {
        id: web

        anchors.fill: parent
        backgroundColor: "transparent"
        zoomFactor: 2
        webChannel: root.channel
        url: root.page
        profile: WebEngineProfile {
            offTheRecord: true
        }
        onLoadingChanged: function (info) {
            if (info.status === WebEngineView.LoadSucceededStatus) {
                // Chromium resets the zoom on navigation.
                web.zoomFactor = 2;
                root.loadFinished(true);
            } else if (info.status === WebEngineView.LoadFailedStatus) {
                root.loadFinished(false);
            }
        }
    }
}
