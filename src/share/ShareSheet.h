#pragma once

#include "share/ShareChannel.h"

#include <QObject>
#include <QSettings>
#include <QUrl>

class NotchModel;
class QQmlWebChannel;
class ShareActions;

// The C++ side of the share sheet (page/SheetView.qml): fills the page with
// the card data and the stored choices when it has loaded, hands every other
// message to the model's share action, and shows the actions' toasts.
class ShareSheet : public QObject {
    Q_OBJECT
    Q_PROPERTY(QUrl page READ page CONSTANT)
    Q_PROPERTY(QObject *channel READ channel CONSTANT)
public:
    ShareSheet(QSettings &settings, NotchModel &model, ShareActions &actions,
               QUrl page = QUrl(QStringLiteral("qrc:/share/share.html")),
               QObject *parent = nullptr);

    // The view the island shows in its share phase, with this as `model`.
    static QUrl view() { return QUrl(QStringLiteral("qrc:/share/SheetView.qml")); }

    QUrl page() const { return m_page; }
    QObject *channel() const;

Q_SIGNALS:
    void script(const QString &text); // for the view to run in its page
    void focusRequested();

private:
    void onMessage(const QString &action, const QVariantMap &body);

    QSettings &m_settings;
    NotchModel &m_model;
    QUrl m_page;
    ShareChannel m_channel;
    QQmlWebChannel *m_webChannel;
};
