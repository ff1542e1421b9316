#pragma once

#include "core/KeyHelp.h"
#include "core/Platform.h"

#include <QCoroTask>
#include <QObject>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class SettingsModel;
class SourceRegistry;

// The connect form for one platform: the connector's help as numbered rich
// text steps, its inputs, and the connect action with its busy state and
// error. What was typed stays after a failure, so nothing has to be pasted twice.
class ConnectFormModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the accounts pane and the walkthrough")
    Q_PROPERTY(QString platform READ platformRaw CONSTANT)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QStringList steps READ steps CONSTANT)
    Q_PROPERTY(QString linkLabel READ linkLabel CONSTANT)
    Q_PROPERTY(QVariantList fields READ fields CONSTANT)
    Q_PROPERTY(QString note READ note CONSTANT)
    Q_PROPERTY(QString error READ error NOTIFY errorChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(QString connectLabel READ connectLabel NOTIFY busyChanged)
    Q_PROPERTY(QVariantMap values READ values NOTIFY valuesChanged)

public:
    ConnectFormModel(Platform platform, SettingsModel &settings, const SourceRegistry &sources,
                     QObject *parent = nullptr);

    Q_INVOKABLE QString value(const QString &key) const { return m_values.value(key); }
    Q_INVOKABLE void setValue(const QString &key, const QString &text);
    // Verifies and stores the account; ignored while a check runs.
    Q_INVOKABLE void submit();
    Q_INVOKABLE void openLink() const;

    Platform platform() const { return m_platform; }
    QString platformRaw() const { return Platforms::rawValue(m_platform); }
    QString title() const { return QStringLiteral("Connect ") + Platforms::name(m_platform); }
    QStringList steps() const;
    QString linkLabel() const { return m_help.linkLabel; }
    QUrl link() const { return m_help.link; }
    QVariantList fields() const;
    QString note() const { return m_help.note.value_or(QString()); }
    QString error() const { return m_error; }
    bool busy() const { return m_busy; }
    QString connectLabel() const;
    QVariantMap values() const;
    // Runs the connect and returns when it is over (for the walkthrough and tests).
    QCoro::Task<> connectNow();

Q_SIGNALS:
    void errorChanged();
    void busyChanged();
    void valuesChanged();
    // The account is stored; `name` is the platform's display name.
    void connected(const QString &name);

private:
    void setBusy(bool on);
    void setError(const QString &error);

    Platform m_platform;
    SettingsModel &m_settings;
    KeyHelp m_help;
    QMap<QString, QString> m_values;
    QString m_error;
    bool m_busy = false;
};
