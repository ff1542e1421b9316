import QtQuick
import QtWebEngine

// The share sheet inside the island's share phase: our share page, fed and
// heard by the C++ ShareSheet given as `model`. It takes the keyboard while
// it is shown, so the caption and the handle can be typed.
Item {
    id: root

    required property QtObject model

    WebEngineView {
        id: web

        anchors.fill: parent
        backgroundColor: "transparent"
        focus: true
        webChannel: root.model ? root.model.channel : null
        url: root.model ? root.model.page : ""
        profile: WebEngineProfile {
            offTheRecord: true
        }
    }

    Connections {
        target: root.model

        function onScript(text) {
            web.runJavaScript(text);
        }
        function onFocusRequested() {
            web.forceActiveFocus();
        }
    }
}
