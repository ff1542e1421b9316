#pragma once

#include <QList>

// What the kernel says a process and the processes it started cost, read
// from /proc, for the memory figures of every benchmark.
namespace ProcessMemory {
// Proportional set size in KiB; 0 for a process that is gone.
qint64 pssKiB(qint64 pid);
// Every process started by `pid`, directly or not.
QList<qint64> descendants(qint64 pid);
// `pid` and all its descendants together.
qint64 treePssKiB(qint64 pid);
}
