#pragma once

#include "core/Clock.h"

#include <QImage>
#include <QObject>
#include <QSettings>
#include <QUrl>
#include <QVariantMap>

class NotchModel;
class ShareExporter;

// What the share sheet's buttons do: persist the choices, render the card
// through the exporter, then copy it, save it to Downloads or post it, and
// say how it went in a toast on the sheet.
class ShareActions : public QObject {
    Q_OBJECT
public:
    // `logoFolder` holds the platform logos the cards show.
    ShareActions(QSettings &settings, Clock &clock, NotchModel &model, ShareExporter &exporter,
                 QString logoFolder, QObject *parent = nullptr);

    // Prepares the card data from the model's figures and opens the sheet.
    void open();
    // One message from the sheet (anything but "loaded").
    void handle(const QString &action, const QVariantMap &body);

    // The X intent for composing a post; `text` only when there is a caption.
    static QUrl composeUrl(const QString &caption);

Q_SIGNALS:
    void toast(const QString &message);

private:
    void complete(const QString &action, const QString &caption, std::optional<QImage> image);
    void copy(const QImage &image);
    void save(const QByteArray &png);
    void post(const QImage &image, const QString &caption);

    QSettings &m_settings;
    Clock &m_clock;
    NotchModel &m_model;
    ShareExporter &m_exporter;
    QString m_logoFolder;
};
