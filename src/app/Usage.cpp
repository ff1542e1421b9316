#include "app/Usage.h"

#include <algorithm>

namespace {

Usage::Switch flag(const char *name, const char *description)
{
    return {QLatin1String(name), {}, QLatin1String(description)};
}

Usage::Switch valued(const char *name, const char *value, const char *description)
{
    return {QLatin1String(name), QLatin1String(value), QLatin1String(description)};
}

// A value that may be left out.
Usage::Switch mayBeValued(const char *name, const char *value, const char *description)
{
    Usage::Switch s = valued(name, value, description);
    s.valueOptional = true;
    return s;
}

QList<Usage::Switch> table()
{
    return {
        flag("--help", "print this usage and exit"),
        flag("--today", "print today's figures as one JSON object (the default)"),
        valued("--connect", "PLATFORM",
               "connect an account from key=value lines on standard input; prints its label"),
        flag("--accounts", "print one line per account: id, platform, label, last check"),
        flag("--check", "check every account once and print each new event as a JSON line"),
        flag("--moments", "with --check: print the moment the new events make instead"),
        flag("--probe", "run every connector's key check with dummy values"),
        flag("--settings", "open the settings window"),
        valued("--settings-tab", "N", "open the settings window on tab N"),
        flag("--demo", "play the demo moment"),
        flag("--demo-all", "play the demo moment and a second one after it"),
        flag("--first-run", "show the first-run walkthrough even if it was completed"),
        // Without a step the walkthrough opens at its start.
        mayBeValued("--first-run-step", "N", "show the first-run walkthrough at step N"),
        flag("--open-today", "open the dashboard pinned open"),
        valued("--render-today", "PATH", "render the dashboard into a PNG file at PATH"),
        valued("--today-tab", "ID", "with --open-today: show the tab ID"),
        flag("--show-top", "with --open-today: show today's top sellers"),
        flag("--open-share", "open the dashboard pinned open with its share sheet"),
        valued("--export-card", "PATH", "with --open-today: save the share card as a PNG at PATH"),
        valued("--card", "ID", "with --export-card: the card to save"),
        flag("--framer-sign-in",
             "show the Connect Framer window for the running app (which starts it)"),
    };
}

}

namespace Usage {

const QList<Switch> &switches()
{
    static const QList<Switch> rows = table();
    return rows;
}

const Switch *find(const QString &name)
{
    const auto &rows = switches();
    const auto it =
        std::find_if(rows.begin(), rows.end(), [&](const Switch &s) { return s.name == name; });
    return it == rows.end() ? nullptr : &*it;
}

QString text()
{
    QString usage = QStringLiteral("Usage: korvanta [SWITCH]...\n\nSwitches:\n");
    for (const Switch &s : switches()) {
        const QString head = s.value.isEmpty() ? s.name : s.name + u' ' + s.value;
        usage += QStringLiteral("  %1 %2\n").arg(head, -22).arg(s.description);
    }
    usage += QStringLiteral(
        "\nExit status:\n"
        "  0  success\n"
        "  1  a command failed; the reason is on standard error\n"
        "  2  an unknown switch, a switch without its value, or a refused KORVANTA_ENDPOINTS\n"
        "  3  another Korvanta holds the data folder\n"
        "\nEnvironment:\n"
        "  KORVANTA_ENDPOINTS=HOST=ORIGIN,...\n"
        "      send requests for a platform host (or * for all) to an origin on this\n"
        "      machine instead; for tests. Any other origin is refused.\n");
    return usage;
}

}
