#pragma once

#include <QStringList>

// Which run the command line asks for. The headless switches print and
// exit without a display; anything else starts (or reaches) the desktop app.
namespace Switches {
// "--today", "--accounts", "--connect", "--check", "--probe".
bool headless(const QStringList &arguments);
// "--today" and "--accounts" only read, so they work beside the running app.
bool onlyReads(const QStringList &arguments);
// The sentence for a desktop start without any display.
QString noDisplaySentence();
}
