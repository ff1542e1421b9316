#include "core/Money.h"

#include <QHash>
#include <unicode/ucurr.h>
#include <unicode/unum.h>

namespace Currency {

int fractionDigits(const QString &code)
{
    // ICU's answer never changes during a run; connectors ask per amount.
    thread_local QHash<QString, int> known;
    if (const auto it = known.constFind(code); it != known.cend())
        return *it;
    const QString upper = code.toUpper();
    UErrorCode status = U_ZERO_ERROR;
    const int digits =
        ucurr_getDefaultFractionDigits(reinterpret_cast<const UChar *>(upper.utf16()), &status);
    const int result = U_SUCCESS(status) && digits >= 0 ? digits : 2;
    if (known.size() < 1000)
        known.insert(code, result);
    return result;
}

}

namespace {

constexpr QChar minusSign(0x2212);

// Parses "[sign]digits[.digits]" into (negative, integer digits, fraction digits).
struct Decimal {
    bool negative = false;
    QString whole;
    QString fraction;
};

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

std::optional<Decimal> parseDecimal(const QString &text)
{
    const QStringView t = QStringView(text).trimmed();
    qsizetype pos = 0;
    Decimal d;
    if (pos < t.size() && (t[pos] == u'+' || t[pos] == u'-'))
        d.negative = t[pos++] == u'-';
    const qsizetype wholeStart = pos;
    while (pos < t.size() && isAsciiDigit(t[pos]))
        ++pos;
    d.whole = t.mid(wholeStart, pos - wholeStart).toString();
    if (pos < t.size() && t[pos] == u'.') {
        const qsizetype fractionStart = ++pos;
        while (pos < t.size() && isAsciiDigit(t[pos]))
            ++pos;
        d.fraction = t.mid(fractionStart, pos - fractionStart).toString();
    }
    if (pos != t.size() || (d.whole.isEmpty() && d.fraction.isEmpty()))
        return std::nullopt;
    return d;
}

// Rounds half away from zero when the text has more digits than the currency.
std::optional<qint64> scaled(const Decimal &d, int digits)
{
    QString fraction = d.fraction;
    bool roundUp = false;
    if (fraction.size() > digits) {
        roundUp = fraction.at(digits) >= u'5';
        fraction.truncate(digits);
    }
    fraction = fraction.leftJustified(digits, u'0');
    QString all = d.whole + fraction;
    while (all.startsWith(u'0'))
        all.remove(0, 1);
    if (all.size() > 19)
        return std::nullopt;
    bool ok = true;
    qint64 value = all.isEmpty() ? 0 : all.toLongLong(&ok);
    if (!ok || (roundUp && value == std::numeric_limits<qint64>::max()))
        return std::nullopt;
    if (roundUp)
        ++value;
    return d.negative ? -value : value;
}

QString plainDecimal(qint64 magnitude, int digits, bool whole)
{
    QString text = QString::number(magnitude);
    if (digits == 0)
        return text;
    text = text.rightJustified(digits + 1, u'0');
    if (whole)
        return text.left(text.size() - digits);
    return text.left(text.size() - digits) + u'.' + text.right(digits);
}

QString icuCurrency(const QString &decimal, const QString &currency, int shownDigits,
                    const QLocale &locale)
{
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray localeName = locale.name().toLatin1();
    UNumberFormat *fmt =
        unum_open(UNUM_CURRENCY, nullptr, 0, localeName.constData(), nullptr, &status);
    if (U_FAILURE(status))
        return {};
    const QString code = currency.toUpper();
    unum_setTextAttribute(fmt, UNUM_CURRENCY_CODE, reinterpret_cast<const UChar *>(code.utf16()),
                          static_cast<int32_t>(code.size()), &status);
    unum_setAttribute(fmt, UNUM_MIN_FRACTION_DIGITS, shownDigits);
    unum_setAttribute(fmt, UNUM_MAX_FRACTION_DIGITS, shownDigits);
    UChar buffer[128];
    const QByteArray number = decimal.toLatin1();
    const int32_t length =
        unum_formatDecimal(fmt, number.constData(), number.size(), buffer, 128, nullptr, &status);
    unum_close(fmt);
    if (U_FAILURE(status) || length <= 0)
        return {};
    return QString(reinterpret_cast<const QChar *>(buffer), length);
}

}

std::optional<Money> Money::fromDecimal(const QString &amount, const QString &currency)
{
    const auto decimal = parseDecimal(amount);
    if (!decimal)
        return std::nullopt;
    const QString code = currency.toUpper();
    const auto minor = scaled(*decimal, Currency::fractionDigits(code));
    if (!minor)
        return std::nullopt;
    return Money{*minor, code};
}

QString Money::formatted(bool sign, const QLocale &locale) const
{
    const int digits = Currency::fractionDigits(currency);
    // |minor| of the most negative value does not fit; show its neighbour.
    const qint64 magnitude = minor == std::numeric_limits<qint64>::min()
        ? std::numeric_limits<qint64>::max()
        : std::abs(minor);
    qint64 unit = 1;
    for (int i = 0; i < digits; ++i)
        unit *= 10;
    const bool whole = magnitude % unit == 0;
    const QString decimal = plainDecimal(magnitude, digits, whole);
    QString text = icuCurrency(decimal, currency, whole ? 0 : digits, locale);
    if (text.isEmpty())
        text = decimal;
    if (minor < 0)
        return minusSign + text;
    return sign ? u'+' + text : text;
}

QJsonObject Money::toJson() const
{
    return {{QStringLiteral("minor"), minor}, {QStringLiteral("currency"), currency}};
}

std::optional<Money> Money::fromJson(const QJsonValue &value)
{
    const QJsonObject o = value.toObject();
    const QJsonValue minor = o.value(QLatin1String("minor"));
    const QJsonValue currency = o.value(QLatin1String("currency"));
    if (!minor.isDouble() || !currency.isString())
        return std::nullopt;
    const double d = minor.toDouble();
    if (d != std::floor(d) || std::abs(d) > 9.007199254740992e15)
        return std::nullopt;
    return Money{minor.toInteger(), currency.toString()};
}

size_t qHash(const Money &money, size_t seed)
{
    return qHashMulti(seed, money.minor, money.currency);
}
