#pragma once

#include "core/Endpoints.h"

#include <QHash>
#include <QString>

// KORVANTA_ENDPOINTS for web pages: an https loopback origin given for a
// Framer host makes the web engine connect there while pages keep their real
// https://www.framer.com address, so tests can serve a fake Framer. The web
// engine reads its resolver rules once, before it starts.
class FramerWebRoutes {
public:
    FramerWebRoutes() = default;
    explicit FramerWebRoutes(const Endpoints &endpoints);

    bool isEmpty() const { return m_targets.isEmpty(); }
    // "MAP www.framer.com:443 127.0.0.1:PORT,..." for Chromium, or empty.
    QString hostResolverRules() const;
    // `existing` with the resolver rules added, quoted as Chromium wants them.
    QByteArray chromiumFlags(const QByteArray &existing) const;
    // Certificate errors are accepted only for a host sent to loopback.
    bool acceptsCertificateFor(const QString &host) const;

private:
    QHash<QString, QString> m_targets; // host → "127.0.0.1:PORT"
};
