#pragma once

#include <QCoroTask>
#include <QString>
#include <QUrl>

class Http;

// "Check for Updates…": reads a small JSON feed, {"version": "0.2", "url":
// "https://…"}, whose address is set when Korvanta is built, and compares
// its version with this one. A build without a feed leaves updates to the
// package that installed it.
class Updates {
public:
    struct Result {
        enum class Kind { NoFeed, UpToDate, Available, Failed };
        Kind kind = Kind::NoFeed;
        QString version; // the feed's, when it was read
        QUrl page;       // the download page, when an update is available
        QString message; // a complete sentence for the user
    };

    Updates(Http &http, QUrl feed, QString currentVersion);

    QCoro::Task<Result> check();

private:
    Result compare(const QByteArray &body) const;

    Http &m_http;
    QUrl m_feed;
    QString m_current;
};
