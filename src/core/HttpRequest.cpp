#include "core/HttpRequest.h"

namespace {
bool sameName(const QByteArray &a, const QByteArray &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
}

void HttpRequest::setHeader(const QByteArray &name, const QByteArray &value)
{
    for (Header &h : headers) {
        if (sameName(h.first, name)) {
            h.second = value;
            return;
        }
    }
    headers.append({name, value});
}

QByteArray HttpRequest::header(const QByteArray &name) const
{
    for (const Header &h : headers)
        if (sameName(h.first, name))
            return h.second;
    return {};
}

void HttpRequest::removeHeader(const QByteArray &name)
{
    headers.removeIf([&](const Header &h) { return sameName(h.first, name); });
}
