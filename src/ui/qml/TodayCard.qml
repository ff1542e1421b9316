import QtQuick
import Korvanta.Design as DS
import Korvanta.Ui

// The dashboard as the open island shows it, for rendering into an image:
// island black, as wide as the open island, below a notch-high band.
Rectangle {
    id: card
    required property TodayModel model
    width: 574
    height: 32 + view.implicitHeight
    color: "black"
    TodayView {
        id: view
        model: card.model
        y: 32
        width: parent.width
        height: implicitHeight
    }
}
