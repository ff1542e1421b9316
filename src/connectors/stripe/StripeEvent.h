#pragma once

#include "connectors/stripe/StripeDescription.h"
#include "core/SaleEvent.h"

#include <QJsonObject>
#include <optional>

// One charge event of the log, as far as the mapping needs it.
struct StripeEvent {
    enum class Type { Succeeded, Failed, Refunded };

    QString id;
    Type type = Type::Succeeded;
    QJsonObject charge;   // data → object
    QJsonObject previous; // data → previous_attributes, when Stripe sends them
    QDateTime at;

    // Nothing for an event that is malformed or of a type we do not read.
    static std::optional<StripeEvent> read(const QJsonObject &event);

    // `description` matters only for a successful charge.
    SaleEvent toSaleEvent(const QUuid &account, const StripeDescription &description = {}) const;

private:
    qint64 refundedNow() const;
};
