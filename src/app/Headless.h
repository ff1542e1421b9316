#pragma once

#include "connectors/KeySource.h"

#include <QCoroTask>
#include <QTextStream>

struct FramerServices;
struct Services;
class SourceRegistry;

// The switches that work without a display: they print to stdout (errors to
// stderr) and return the process's exit status. Their output is an interface
// for scripts; keep it stable.
namespace Headless {
QCoro::Task<int> connect(Services &services, QString platform, QString input);
int accounts(Services &services);
// With `momentOnly`, prints the one moment the new events make instead of
// the events themselves, or nothing.
// Reads Framer first when `framer` is given (a sign-in was completed once).
QCoro::Task<int> check(Services &services, FramerServices *framer, bool momentOnly = false);
// Opens the Framer sign-in window and waits for it to close.
QCoro::Task<int> connectFramer(FramerServices &framer);
int today(Services &services);
QCoro::Task<int> probe(const SourceRegistry &sources, SourceContext context);
}
