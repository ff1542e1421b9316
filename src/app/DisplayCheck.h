#pragma once

// Chooses the windowing platform before the application object exists:
// under a Wayland session Korvanta asks for X11 (XWayland), because a
// Wayland client cannot place an always-on-top window at the top of the
// screen. A platform the user set is left alone. False when there is no
// display to run on.
bool chooseDisplayPlatform();
