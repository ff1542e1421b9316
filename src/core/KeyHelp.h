#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

// What a connector's connect form shows: numbered steps (with **bold** and
// `code` spans), the link where the key is made, the inputs and a closing note.
struct KeyHelp {
    struct Field {
        QString key;
        QString label;
        QString placeholder;
        bool secret = false;
    };

    QStringList steps;
    QUrl link;
    QString linkLabel;
    QList<Field> fields;
    std::optional<QString> note;
};
