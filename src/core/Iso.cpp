#include "core/Iso.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace Iso {

QString plain(const QDateTime &at)
{
    return at.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + u'Z';
}

QString frac(const QDateTime &at)
{
    return at.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + u'Z';
}

std::optional<QDateTime> date(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    return date(value.toString());
}

std::optional<QDateTime> date(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})(?:\\.(\\d{1,9}))?"
        "(?:(Z)|([+-])(\\d{2}):?(\\d{2}))$"));
    const auto m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate day(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const int ms = m.captured(7).leftJustified(3, u'0').left(3).toInt();
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), ms);
    if (!day.isValid() || !time.isValid())
        return std::nullopt;
    int offset = 0;
    if (m.captured(8).isEmpty()) {
        const int hours = m.captured(10).toInt();
        const int minutes = m.captured(11).toInt();
        if (hours > 23 || minutes > 59)
            return std::nullopt;
        offset = (hours * 3600 + minutes * 60) * (m.captured(9) == u"-" ? -1 : 1);
    }
    return QDateTime(day, time, Qt::UTC).addSecs(-offset);
}

}
