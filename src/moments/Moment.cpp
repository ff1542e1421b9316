#include "moments/Moment.h"

#include "core/JsonText.h"

QByteArray Moment::toCompactJson() const
{
    QByteArray json = "{\"platform\":";
    appendJsonString(json, Platforms::rawValue(platform));
    json += ",\"kicker\":";
    appendJsonString(json, kicker);
    json += ",\"title\":";
    appendJsonString(json, title);
    json += ",\"amount\":";
    appendJsonString(json, amount);
    return json + '}';
}
