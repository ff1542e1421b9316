#include "framer/Watcher.h"

#include "core/MoreTitle.h"
#include "core/Revenue.h"
#include "framer/StoredCounts.h"

#include <QSet>
#include <algorithm>

namespace {

// Growth since the stored count, never negative; saturates like the sums.
qint64 growth(qint64 now, qint64 before)
{
    qint64 difference;
    if (__builtin_sub_overflow(now, before, &difference))
        difference = now > before ? std::numeric_limits<qint64>::max() : 0;
    return std::max<qint64>(difference, 0);
}

QString counterKey(const char *prefix, const FramerRow &row)
{
    return QLatin1String(prefix) + row.id + u'|' + row.period;
}

}

Watcher::Watcher(QSettings &settings, QString logPath)
    : m_settings(settings), m_log(std::move(logPath)),
      m_counts(StoredCounts::load(settings, QLatin1String(key))), m_hasBaseline(!m_counts.isEmpty())
{
}

QString Watcher::remixKey(const FramerRow &row)
{
    return counterKey("r|", row);
}
QString Watcher::conversionKey(const FramerRow &row)
{
    return counterKey("c|", row);
}

// Template ids in the order their news came, and the news of each.
struct Watcher::News {
    QList<QString> order;
    QHash<QString, Change> byId;
};

QList<Watcher::Change> Watcher::diff(const QList<FramerRow> &rows)
{
    QHash<QString, qint64> next = m_counts;
    News news;
    for (const FramerRow &row : rows) {
        const QString remixes = remixKey(row);
        const QString sales = conversionKey(row);
        // Always against the counts before this reading, never `next`.
        const auto storedRemixes = stored(remixes);
        const auto storedSales = stored(sales);
        if (m_hasBaseline)
            addNews(row, growth(row.remixes, storedRemixes.value_or(0)),
                    growth(row.conversions, storedSales.value_or(0)), news);
        next.insert(remixes, std::max(row.remixes, storedRemixes.value_or(row.remixes)));
        next.insert(sales, std::max(row.conversions, storedSales.value_or(row.conversions)));
    }
    prune(next, rows);
    m_counts = std::move(next);
    m_hasBaseline = true;
    StoredCounts::save(m_settings, QLatin1String(key), m_counts);
    return largestFirst(news);
}

std::optional<qint64> Watcher::stored(const QString &counter) const
{
    const auto it = m_counts.constFind(counter);
    return it == m_counts.constEnd() ? std::nullopt : std::optional<qint64>(*it);
}

void Watcher::addNews(const FramerRow &row, qint64 remixes, qint64 sales, News &news) const
{
    if (Revenue::addSaturating(remixes, sales) < 1)
        return;
    auto it = news.byId.find(row.id);
    if (it == news.byId.end()) {
        news.order.append(row.id);
        it = news.byId.insert(row.id, Change{row.title, 0, 0});
    }
    it->remixes = Revenue::addSaturating(it->remixes, remixes);
    it->sales = Revenue::addSaturating(it->sales, sales);
}

QList<Watcher::Change> Watcher::largestFirst(const News &news)
{
    QList<Change> changes;
    for (const QString &id : news.order)
        changes.append(news.byId.value(id));
    std::stable_sort(changes.begin(), changes.end(), [](const Change &a, const Change &b) {
        return Revenue::addSaturating(a.remixes, a.sales)
            > Revenue::addSaturating(b.remixes, b.sales);
    });
    return changes;
}

// Keeps only the days of this reading (yesterday and today), so the stored
// counters do not grow without end. A reading without rows keeps them all.
void Watcher::prune(QHash<QString, qint64> &counts, const QList<FramerRow> &rows)
{
    if (rows.isEmpty())
        return;
    QSet<QStringView> periods;
    for (const FramerRow &row : rows)
        periods.insert(row.period);
    counts.removeIf([&](const QHash<QString, qint64>::iterator &it) {
        const QStringView counter(it.key());
        return !periods.contains(counter.mid(counter.lastIndexOf(u'|') + 1));
    });
}

std::optional<Moment> Watcher::momentFor(const QList<Change> &changes)
{
    qint64 remixes = 0;
    qint64 sales = 0;
    for (const Change &c : changes) {
        remixes = Revenue::addSaturating(remixes, c.remixes);
        sales = Revenue::addSaturating(sales, c.sales);
    }
    if (changes.isEmpty() || Revenue::addSaturating(remixes, sales) <= 0)
        return std::nullopt;
    const QString title = moreTitle(changes.first().title, changes.size());
    const bool selling = sales > 0;
    const qint64 count = selling ? sales : remixes;
    const QString noun = selling ? QStringLiteral("sale") : QStringLiteral("remix");
    const QString plural = selling ? QStringLiteral("sales") : QStringLiteral("remixes");
    const QString kicker = count == 1
        ? QStringLiteral("New %1 on Framer").arg(noun)
        : QStringLiteral("%1 new %2 on Framer").arg(count).arg(plural);
    return Moment{Platform::Framer, kicker, title, u'+' + QString::number(count)};
}

void Watcher::reset()
{
    m_counts.clear();
    m_hasBaseline = false;
    StoredCounts::remove(m_settings, QLatin1String(key));
}
