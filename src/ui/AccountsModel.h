#pragma once

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class AccountStore;
#include "ui/ConnectFormModel.h"
class Poller;
class SettingsModel;

// The accounts pane of the settings: connected accounts with their health
// line, the Framer sign-in, every platform that can still be added, and the
// connect sheet while one is being added.
class AccountsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the settings window")
    Q_PROPERTY(QVariantList connected READ connected NOTIFY changed)
    Q_PROPERTY(bool framerSignedIn READ framerSignedIn NOTIFY changed)
    Q_PROPERTY(bool nothingConnected READ nothingConnected NOTIFY changed)
    Q_PROPERTY(QVariantList addable READ addable CONSTANT)
    Q_PROPERTY(QString footer READ footer CONSTANT)
    Q_PROPERTY(ConnectFormModel *form READ form NOTIFY formChanged)

public:
    AccountsModel(SettingsModel &settings, AccountStore &store, Poller &poller,
                  QObject *parent = nullptr);

    // Opens the connect sheet for a platform given by its raw value.
    Q_INVOKABLE void add(const QString &platform);
    Q_INVOKABLE void closeSheet();
    Q_INVOKABLE void remove(const QString &id);
    Q_INVOKABLE void connectFramer();
    Q_INVOKABLE void switchFramer();

    QVariantList connected() const;
    bool framerSignedIn() const;
    bool nothingConnected() const;
    QVariantList addable() const;
    static QString footer();
    ConnectFormModel *form() const { return m_form; }
    QCoro::Task<> removeNow(const QString &id);

Q_SIGNALS:
    void changed();
    void formChanged();

private:
    SettingsModel &m_settings;
    AccountStore &m_store;
    Poller &m_poller;
    QPointer<ConnectFormModel> m_form;
};
