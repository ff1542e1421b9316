#include "core/Iso.h"

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

namespace {

// Reads `count` ASCII digits at `pos`; -1 when any is not a digit.
int digits(QStringView text, qsizetype pos, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[pos + i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

bool at(QStringView text, qsizetype pos, char16_t c)
{
    return pos < text.size() && text[pos] == c;
}

// The zone after the time: "Z", "+hh:mm" or "+hhmm"; seconds east of UTC.
std::optional<int> zone(QStringView text, qsizetype pos)
{
    if (at(text, pos, u'Z') && pos + 1 == text.size())
        return 0;
    if (!at(text, pos, u'+') && !at(text, pos, u'-'))
        return std::nullopt;
    const bool colon = at(text, pos + 3, u':');
    if (text.size() != pos + (colon ? 6 : 5))
        return std::nullopt;
    const int hours = digits(text, pos + 1, 2);
    const int minutes = digits(text, pos + (colon ? 4 : 3), 2);
    if (hours < 0 || minutes < 0 || hours > 23 || minutes > 59)
        return std::nullopt;
    return (hours * 3600 + minutes * 60) * (text[pos] == u'-' ? -1 : 1);
}

}

std::optional<QDateTime> date(const QString &text)
{
    // yyyy-MM-ddTHH:mm:ss[.fraction](Z|±hh:mm), read by hand: connectors
    // parse thousands of these per fetch.
    const QStringView t(text);
    if (t.size() < 20 || !at(t, 4, u'-') || !at(t, 7, u'-') || !at(t, 10, u'T') || !at(t, 13, u':')
        || !at(t, 16, u':'))
        return std::nullopt;
    const int fields[] = {digits(t, 0, 4),  digits(t, 5, 2),  digits(t, 8, 2),
                          digits(t, 11, 2), digits(t, 14, 2), digits(t, 17, 2)};
    for (int f : fields)
        if (f < 0)
            return std::nullopt;
    qsizetype pos = 19;
    int ms = 0;
    if (at(t, pos, u'.')) {
        qsizetype end = pos + 1;
        while (end < t.size() && end - pos <= 9 && t[end].isDigit() && t[end].unicode() < 128)
            ++end;
        const qsizetype count = end - pos - 1;
        if (count < 1 || count > 9)
            return std::nullopt;
        for (qsizetype i = 0; i < 3; ++i)
            ms = ms * 10 + (i < count ? t[pos + 1 + i].unicode() - u'0' : 0);
        pos = end;
    }
    const auto offset = zone(t, pos);
    const QDate day(fields[0], fields[1], fields[2]);
    const QTime time(fields[3], fields[4], fields[5], ms);
    if (!offset || !day.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(day, time, Qt::UTC).addSecs(-*offset);
}

}
