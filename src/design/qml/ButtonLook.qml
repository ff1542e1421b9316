import QtQuick
import Korvanta.Design

// The button background of each kind: primary is the accent with dark ink,
// light is the foreground colour, ghost is a translucent dark with a hairline.
Rectangle {
    property int kind: ButtonKind.Primary
    readonly property color ink: kind === ButtonKind.Ghost ? T.C.fg : T.C.ink

    radius: height / 2
    color: kind === ButtonKind.Primary ? T.C.yellow : kind === ButtonKind.Light ? T.C.fg : T.C.ghost
    border.width: kind === ButtonKind.Ghost ? 1 : 0
    border.color: T.C.ghostStroke
}
