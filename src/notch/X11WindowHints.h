#pragma once

class QWindow;

// Asks the window manager to keep `window` on every workspace, above other
// windows and out of the taskbar and pager. Call after the window is created
// and before it is shown; does nothing outside X11.
void keepOnAllWorkspaces(QWindow &window);
