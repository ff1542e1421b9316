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
