#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>

// A Gumroad sales page of "Field Notes" sales at $19.99, made just now so
// they count as today's.
inline QByteArray gumroadSales(const QList<QByteArray> &ids)
{
    const QByteArray now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8();
    QList<QByteArray> sales;
    for (const QByteArray &id : ids)
        sales.append(R"({"id":")" + id + R"(","created_at":")" + now
                     + R"(","product_name":"Field Notes","price":1999,"currency":"usd"})");
    return R"({"success":true,"sales":[)" + sales.join(',') + "]}";
}
