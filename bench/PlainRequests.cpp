#include "PlainRequests.h"

#include <QCoroNetworkReply>
#include <QNetworkReply>

QCoro::Task<qint64> plainRequests(QNetworkAccessManager &network, QList<HttpRequest> requests)
{
    qint64 bytes = 0;
    for (const HttpRequest &r : requests) {
        QNetworkRequest request(r.url);
        for (const auto &[name, value] : r.headers)
            request.setRawHeader(name, value);
        QNetworkReply *reply = network.sendCustomRequest(request, r.method, r.body);
        co_await reply;
        bytes += reply->readAll().size();
        reply->deleteLater();
    }
    co_return bytes;
}

QList<HttpRequest> recordedRequests(const FakePlatformServer &server,
                                    const std::function<bool(const RecordedRequest &)> &keep)
{
    QList<HttpRequest> list;
    for (const RecordedRequest &r : server.requests()) {
        if (keep && !keep(r))
            continue;
        HttpRequest h;
        h.url = QUrl(server.origin() + QString::fromLatin1(r.rawTarget));
        h.method = r.method;
        h.body = r.body;
        for (const auto &[name, value] : r.headers)
            if (name.compare("Host", Qt::CaseInsensitive) != 0
                && name.compare("Content-Length", Qt::CaseInsensitive) != 0)
                h.setHeader(name, value);
        list.append(h);
    }
    return list;
}
