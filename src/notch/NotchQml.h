#pragma once

// Makes the QML module Korvanta.Notch (IslandView, IslandShape, RibsView,
// SpringValue) and the design module it uses available to the program's QML
// engines. Call once before loading QML that imports it.
//
// RibsView, for use from other modules (import Korvanta.Notch):
//   RibsView { anchors.fill: parent; color: "#ffe03a"; reach: 0.42; vreach: 1.0
//              shown: true; extra: "base:'#10100e',veil:false" }
// draws the glowing ribs on transparency, takes no input, and keeps its web
// page only while shown and for a short while after (`linger`, ms).
// Programs using it must call QtWebEngineQuick::initialize() before creating
// the application object.
void registerNotchQml();
