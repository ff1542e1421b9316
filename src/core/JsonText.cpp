#include "core/JsonText.h"

#include <algorithm>

void appendJsonString(QByteArray &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    out.append('"');
    const QByteArray utf8 = text.toUtf8();
    const bool plain = std::none_of(utf8.begin(), utf8.end(), [](char c) {
        return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
    });
    if (plain) {
        out.append(utf8).append('"');
        return;
    }
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.append('\\').append(c);
        } else if (u < 0x20) {
            out.append("\\u00").append(hex[u >> 4]).append(hex[u & 0xf]);
        } else {
            out.append(c);
        }
    }
    out.append('"');
}

void appendJsonNumber(QByteArray &out, double value)
{
    out.append(QByteArray::number(value, 'g', 17));
}
