#include "shell/CheckInterval.h"

#include "core/SettingsFile.h"

namespace CheckInterval {

namespace {
const QString key = QStringLiteral("interval");
}

const QList<Choice> &choices()
{
    static const QList<Choice> list{{QStringLiteral("1 minute"), 60},
                                    {QStringLiteral("2 minutes"), 120},
                                    {QStringLiteral("5 minutes"), 300}};
    return list;
}

double effective(const QSettings &settings)
{
    bool ok = false;
    const double stored = settings.value(key).toDouble(&ok);
    return ok && stored > 0 ? stored : fallback;
}

void store(QSettings &settings, double seconds)
{
    settings.setValue(key, seconds);
    SettingsFile::sync(settings);
}

}
