#include "moments/MomentBuilder.h"

#include "core/MoreTitle.h"
#include "core/Revenue.h"

namespace {

bool celebrated(const SaleEvent &e)
{
    return e.kind == SaleEvent::Kind::Sale || e.kind == SaleEvent::Kind::Renewal;
}

// What the moment needs from the celebrated events, gathered in one pass.
// Oldest first with ties in list order, the newest is the last event with
// the latest time, so no sort is needed.
struct Tally {
    qsizetype count = 0;
    QList<qsizetype> perPlatform = QList<qsizetype>(Platforms::all().size(), 0); // by Platform
    QList<Platform> platformsMet; // in the order first met
    bool allRenewals = true;
    const SaleEvent *newest = nullptr;
    qint64 newestAt = 0;
};

Tally tally(const QList<SaleEvent> &events)
{
    Tally t;
    for (const SaleEvent &e : events) {
        if (!celebrated(e))
            continue;
        ++t.count;
        if (t.perPlatform[size_t(e.platform)]++ == 0)
            t.platformsMet.append(e.platform);
        t.allRenewals = t.allRenewals && e.kind == SaleEvent::Kind::Renewal;
        const qint64 at = e.at.toMSecsSinceEpoch();
        if (!t.newest || at >= t.newestAt) {
            t.newest = &e;
            t.newestAt = at;
        }
    }
    return t;
}

// The platform with the most events; on a tie, the one met first.
Platform busiest(const Tally &t)
{
    Platform best = t.platformsMet.first();
    for (Platform p : t.platformsMet)
        if (t.perPlatform[size_t(p)] > t.perPlatform[size_t(best)])
            best = p;
    return best;
}

QString kicker(const Tally &t, Platform platform)
{
    const QString kind = t.allRenewals ? QStringLiteral("renewal") : QStringLiteral("sale");
    if (t.count == 1)
        return QStringLiteral("New ") + kind + QStringLiteral(" on ") + Platforms::name(platform);
    const QString where = t.platformsMet.size() == 1
        ? Platforms::name(platform)
        : QString::number(t.platformsMet.size()) + QStringLiteral(" platforms");
    return QString::number(t.count) + QStringLiteral(" new ") + kind + QStringLiteral("s on ")
        + where;
}

QString title(const Tally &t)
{
    return moreTitle(t.newest->title, t.count);
}

// The signed sum of the kept events' amounts, when they all have one in the
// same currency; the order of the events does not change the answer.
template <typename Keep>
std::optional<QString> signedSum(const QList<SaleEvent> &events, Keep keep)
{
    const std::optional<Money> *first = nullptr;
    qint64 sum = 0;
    for (const SaleEvent &e : events) {
        if (!keep(e))
            continue;
        if (!first)
            first = &e.amount;
        if (!e.amount || !*first || e.amount->currency != (*first)->currency)
            return std::nullopt;
        sum = Revenue::addSaturating(sum, e.amount->minor);
    }
    if (!first)
        return std::nullopt;
    return Money{sum, (*first)->currency}.formatted(true);
}

}

namespace MomentBuilder {

std::optional<Moment> momentFor(const QList<SaleEvent> &events)
{
    const Tally t = tally(events);
    if (t.count == 0)
        return std::nullopt;
    const Platform platform = busiest(t);
    return Moment{platform, kicker(t, platform), title(t),
                  signedSum(events, celebrated).value_or(u'+' + QString::number(t.count))};
}

std::optional<QString> total(const QList<SaleEvent> &events)
{
    return signedSum(events, [](const SaleEvent &) { return true; });
}

}
