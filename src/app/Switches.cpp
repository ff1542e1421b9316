#include "app/Switches.h"

namespace Switches {

namespace {
bool hasAny(const QStringList &arguments, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        if (arguments.contains(QLatin1String(name)))
            return true;
    return false;
}
}

bool headless(const QStringList &arguments)
{
    return hasAny(arguments, {"--today", "--accounts", "--connect", "--check", "--probe"});
}

bool onlyReads(const QStringList &arguments)
{
    return !hasAny(arguments, {"--connect", "--check", "--probe"})
        && hasAny(arguments, {"--today", "--accounts"});
}

QString noDisplaySentence()
{
    return QStringLiteral("Korvanta needs a graphical session to run, and there is no display. "
                          "Without one, use its headless switches: --today, --accounts, "
                          "--connect, --check or --probe.");
}

}
