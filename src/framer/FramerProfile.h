#pragma once

#include "framer/FramerWebRoutes.h"

#include <QCoroTask>
#include <QList>
#include <QNetworkCookie>
#include <QObject>
#include <memory>

class QWebEngineProfile;

// The one persistent web profile, kept under Korvanta's data folder and
// shared by the reader and the sign-in window: the session the sign-in
// leaves is what the reader rides on. It is made on first use, so a seller
// who never uses Framer never starts a web engine. Pages made with it must
// be deleted before it is.
class FramerProfile : public QObject {
    Q_OBJECT
public:
    explicit FramerProfile(FramerWebRoutes routes, QString storagePath = defaultPath(),
                           QObject *parent = nullptr);
    ~FramerProfile() override;

    static QString defaultPath();

    QWebEngineProfile &profile();
    bool exists() const { return m_profile != nullptr; }
    const FramerWebRoutes &routes() const { return m_routes; }

    // The cookies of Framer's domain seen since the profile was made.
    QList<QNetworkCookie> framerCookies() const;

    // Signs out of Framer everywhere the profile is used: its cookies and
    // visited links go (the cache lives in memory only).
    QCoro::Task<> signOut();

private:
    void track(const QNetworkCookie &cookie, bool added);

    FramerWebRoutes m_routes;
    QString m_storagePath;
    std::unique_ptr<QWebEngineProfile> m_profile;
    QList<QNetworkCookie> m_cookies;
};
