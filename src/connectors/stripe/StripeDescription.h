#pragma once

#include <QString>
#include <optional>

// What an invoice or checkout session says about a successful charge.
struct StripeDescription {
    std::optional<QString> title;
    bool renewal = false;
};
