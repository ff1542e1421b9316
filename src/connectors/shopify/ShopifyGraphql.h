#pragma once

#include "core/Platform.h"

#include <QCoroTask>
#include <QJsonObject>
#include <QUrl>

class Http;

// Posts one GraphQL document to a Shopify API (the store's Admin API or the
// Partner API), signed with X-Shopify-Access-Token, and returns the answer's
// `data` object (empty when it has none). HTTP failures pass through; a
// GraphQL error becomes "<platform name>: <its message>".
QCoro::Task<QJsonObject> shopifyGraphql(Http &http, QUrl url, QString accessToken, QString query,
                                        QJsonObject variables, Platform platform);
