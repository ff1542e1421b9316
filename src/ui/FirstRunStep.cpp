#include "ui/FirstRunStep.h"

namespace FirstRunSteps {

namespace {
const QString switchName = QStringLiteral("--first-run-step");
}

bool stepRequested(const QStringList &arguments)
{
    return arguments.contains(switchName);
}

Step starting(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(switchName);
    if (at < 0 || at + 1 >= arguments.size())
        return Step::Welcome;
    QString text = arguments.at(at + 1);
    // A leading "+" is accepted as well as "-"; toInt takes only the latter.
    if (text.startsWith(u'+'))
        text.remove(0, 1);
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    if (!ok || n < 0 || n >= count)
        return Step::Welcome;
    return Step(n);
}

}
