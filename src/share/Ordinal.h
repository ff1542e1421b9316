#pragma once

#include <QString>

// "1st", "2nd", "23rd": ICU's ordinal number format. The card texts are
// English, so the ordinals are too.
namespace Ordinal {
QString of(qint64 number);
}
