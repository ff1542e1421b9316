#pragma once

#include "core/HttpRequest.h"
#include "support/FakePlatformServer.h"

#include <QCoroTask>
#include <QNetworkAccessManager>

// The floor a connector's fetch is measured against: the same requests, one
// after another, with a plain QNetworkAccessManager that reads each body
// and maps nothing. URLs must already point at the fake server.
QCoro::Task<qint64> plainRequests(QNetworkAccessManager &network, QList<HttpRequest> requests);

// What a fetch sent to the fake server, re-aimed at it for the floor; only
// the requests `keep` accepts when it is given.
QList<HttpRequest> recordedRequests(const FakePlatformServer &server,
                                    const std::function<bool(const RecordedRequest &)> &keep = {});
