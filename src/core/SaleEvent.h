#pragma once

#include "core/Money.h"
#include "core/Platform.h"

#include <QDateTime>
#include <QJsonObject>
#include <QUuid>
#include <optional>

// One thing that happened on a platform: a sale, a renewal, a refund or a failed payment.
struct SaleEvent {
    enum class Kind { Sale, Renewal, Refund, Failed };

    QString id;
    QUuid account;
    Platform platform = Platform::Stripe;
    Kind kind = Kind::Sale;
    QString title;
    std::optional<Money> amount;
    QDateTime at;

    // A failed payment is stored under its own id, so that the same payment
    // paid later is still new (platforms keep one id through a retry).
    static QString failedId(const QString &platformId)
    {
        return platformId + QStringLiteral("#failed");
    }

    static QString kindName(Kind kind);
    static std::optional<Kind> kindFromName(const QString &name);

    // The stored form; `at` is seconds since 2001-01-01 UTC.
    QJsonObject toJson() const;
    QByteArray toCompactJson() const;
    static std::optional<SaleEvent> fromJson(const QJsonValue &value);

    friend bool operator==(const SaleEvent &, const SaleEvent &) = default;
};
