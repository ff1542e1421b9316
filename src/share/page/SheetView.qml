import QtQuick
import QtWebEngine

// The share sheet inside the island's share phase: our share page, fed and
// heard by the C++ ShareSheet given as `sheet`. It takes the keyboard while
// it is shown, so the caption and the handle can be typed.
Item {
    id: root

    required property QtObject sheet

    WebEngineView {
        id: web

        anchors.fill: parent
        backgroundColor: "transparent"
        focus: true
        webChannel: root.sheet.channel
        url: root.sheet.page
        profile: WebEngineProfile {
            offTheRecord: true
        }
    }

    Connections {
        target: root.sheet

        function onScript(text) {
            web.runJavaScript(text);
        }
        function onFocusRequested() {
            web.forceActiveFocus();
        }
    }
}
