#pragma once

#include "connectors/KeySource.h"
#include "core/HttpRequest.h"
#include "core/Platform.h"

#include <QCoroTask>
#include <QJsonObject>
#include <QUrl>

// GETs `url` with the key as bearer token (plus `headers`) and returns the
// answer's top-level object; an array at the top level counts as an empty
// object. HTTP's errors pass through unchanged.
QCoro::Task<QJsonObject> bearerGet(SourceContext ctx, Platform platform, QUrl url, QString secret,
                                   QList<HttpRequest::Header> headers = {});
