#pragma once

#include <QStringList>

// korvanta --framer-sign-in: the running app's "Connect Framer" window in a
// process of its own. It exits 0 once the sign-in was recognised and 1 when
// the window closed before, and 4 when the user asked to quit Korvanta
// there. A line "raise" on standard input brings the
// window forward; the end of standard input (the app is gone) closes it.
namespace SignInCommand {
constexpr int quitStatus = 4;
bool requested(const QStringList &arguments);
int run(int argc, char **argv);
}
