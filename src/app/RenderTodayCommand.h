#pragma once

#include <QStringList>

// korvanta --render-today PATH [--today-tab ID] [--show-top]: draws the
// dashboard for the stored data into a PNG and exits; needs no running
// application and no display.
namespace RenderTodayCommand {
bool requested(const QStringList &arguments);
int run(int argc, char **argv);
}
