#pragma once

#include <QStringList>

// `korvanta --export-card PATH [--card day|win|framer]`: renders a share card
// for the stored data into PATH as a PNG and exits, without a running app
// and without a display.
namespace CardCommand {
bool requested(int argc, char **argv);
// Before the application object exists: no display, the web engine set up.
void prepare();
// Runs the command inside the application's event loop; the exit status.
int run(const QStringList &arguments);
}
