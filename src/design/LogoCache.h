#pragma once

#include <QHash>
#include <QObject>
#include <QSvgRenderer>
#include <QtQml/qqmlregistration.h>
#include <memory>

// The platform logo files, each read once and kept by file name. One per
// QML engine (a singleton of the module); a file that could not be read is
// remembered as missing.
class LogoCache : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    // `folder` holds the logos as <file>.svg.
    explicit LogoCache(QString folder = QStringLiteral(":/logos"), QObject *parent = nullptr);

    // The renderer for a logo file name, or null when it cannot be loaded.
    QSvgRenderer *logo(const QString &file);
    int loads() const { return m_loads; }

private:
    QString m_folder;
    QHash<QString, std::shared_ptr<QSvgRenderer>> m_logos;
    int m_loads = 0;
};
