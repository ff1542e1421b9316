#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Every switch of korvanta with a one-line description. The parser and the
// usage text are both made from this table, so a new switch is one new row.
namespace Usage {

struct Switch {
    QString name;        // with its leading dashes
    QString value;       // what follows the switch, empty when nothing does
    QString description; // one line, lower case, no full stop
    bool valueOptional = false;
};

const QList<Switch> &switches();
const Switch *find(const QString &name);
// The short usage: every switch, the exit statuses and KORVANTA_ENDPOINTS.
QString text();

}
