#pragma once

#include "support/FakePlatformServer.h"

#include <QDateTime>
#include <QList>
#include <optional>

// A platform's sales over time, served the way each platform pages its list,
// so that backlogs can be read across checks as for real: Stripe's events
// (newest first, `starting_after`), Shopify's orders (oldest first, `after`
// cursors) and WooCommerce's orders (newest first, numbered pages).
class SalesLedger {
public:
    struct Sale {
        QString id;
        QDateTime at;
    };

    // Ids are `prefix` and a running number.
    explicit SalesLedger(QString prefix = {}) : m_prefix(std::move(prefix)) {}

    // `count` sales one second apart from `from`.
    void add(int count, const QDateTime &from);
    const QList<Sale> &sales() const { return m_sales; } // newest first
    // How long every answer takes.
    void setDelay(std::chrono::milliseconds delay) { m_delay = delay; }
    // Stripe charges then name an invoice, which answers with a title.
    void setInvoices(bool invoices) { m_invoices = invoices; }

    // Answers for the requests of each platform; nothing for other requests.
    std::optional<ScriptedResponse> stripe(const RecordedRequest &r) const;
    std::optional<ScriptedResponse> shopify(const RecordedRequest &r) const;
    std::optional<ScriptedResponse> wooCommerce(const RecordedRequest &r) const;

private:
    QList<Sale> after(const QDateTime &since, bool newestFirst) const;
    ScriptedResponse reply(const QByteArray &body) const;

    QString m_prefix;
    int m_numbered = 1000;
    QList<Sale> m_sales;
    std::chrono::milliseconds m_delay{0};
    bool m_invoices = false;
};
