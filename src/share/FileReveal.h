#pragma once

#include <QString>

// Shows a saved file to the user: selected in the file manager through the
// desktop's org.freedesktop.FileManager1 service, or, where no file manager
// offers it, by opening the file's folder. Never waits for the answer.
namespace FileReveal {
void show(const QString &path);
}
