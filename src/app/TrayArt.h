#pragma once

#include <QIcon>

// The tray icon: the application's mark in a colour that reads on the panel.
QIcon trayArt();
