#pragma once

#include <QJsonObject>
#include <QLocale>
#include <QString>
#include <optional>

// An amount in the currency's minor units (cents, whole yen, fils).
struct Money {
    qint64 minor = 0;
    QString currency;

    // Converts a platform's decimal string ("12.50") in decimal arithmetic,
    // never through a floating-point value; the currency is upper-cased.
    static std::optional<Money> fromDecimal(const QString &amount, const QString &currency);

    // "$12.50", "$12", "−$12.50" (U+2212), "+$12.50" with sign.
    QString formatted(bool sign = false, const QLocale &locale = QLocale()) const;

    QJsonObject toJson() const;
    static std::optional<Money> fromJson(const QJsonValue &value);

    friend bool operator==(const Money &, const Money &) = default;
};

size_t qHash(const Money &money, size_t seed = 0);

namespace Currency {
// Fraction digits the currency formatter uses for an ISO 4217 code.
int fractionDigits(const QString &code);
}
