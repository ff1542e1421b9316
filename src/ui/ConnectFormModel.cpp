#include "ui/ConnectFormModel.h"

#include "connectors/SourceRegistry.h"
#include "shell/SettingsModel.h"
#include "ui/InlineMarkdown.h"

#include <QDesktopServices>
#include <QPointer>

ConnectFormModel::ConnectFormModel(Platform platform, SettingsModel &settings,
                                   const SourceRegistry &sources, QObject *parent)
    : QObject(parent), m_platform(platform), m_settings(settings)
{
    if (const SourceEntry *entry = sources.find(platform))
        m_help = entry->help();
}

void ConnectFormModel::setValue(const QString &key, const QString &text)
{
    if (m_values.value(key) == text && m_values.contains(key))
        return;
    m_values.insert(key, text);
    Q_EMIT valuesChanged();
}

void ConnectFormModel::submit()
{
    if (!m_busy)
        connectNow();
}

QCoro::Task<> ConnectFormModel::connectNow()
{
    if (m_busy)
        co_return;
    setBusy(true);
    setError({});
    // The form may close while the platform answers; the account is kept anyway.
    QPointer<ConnectFormModel> self(this);
    QString failure;
    try {
        co_await m_settings.connectPlatform(m_platform, m_values);
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    if (!self)
        co_return;
    setBusy(false);
    if (failure.isEmpty())
        Q_EMIT connected(Platforms::name(m_platform));
    else
        setError(failure);
}

void ConnectFormModel::openLink() const
{
    if (m_help.link.isValid())
        QDesktopServices::openUrl(m_help.link);
}

QStringList ConnectFormModel::steps() const
{
    QStringList list;
    for (const QString &step : m_help.steps)
        list.append(InlineMarkdown::toHtml(step));
    return list;
}

QVariantList ConnectFormModel::fields() const
{
    QVariantList list;
    for (const KeyHelp::Field &f : m_help.fields)
        list.append(QVariantMap{{QStringLiteral("key"), f.key},
                                {QStringLiteral("label"), f.label},
                                {QStringLiteral("placeholder"), f.placeholder},
                                {QStringLiteral("secret"), f.secret}});
    return list;
}

QString ConnectFormModel::connectLabel() const
{
    return m_busy ? QStringLiteral("Checking…") : QStringLiteral("Connect");
}

QVariantMap ConnectFormModel::values() const
{
    QVariantMap map;
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        map.insert(it.key(), it.value());
    return map;
}

void ConnectFormModel::setBusy(bool on)
{
    if (on == m_busy)
        return;
    m_busy = on;
    Q_EMIT busyChanged();
}

void ConnectFormModel::setError(const QString &error)
{
    if (error == m_error)
        return;
    m_error = error;
    Q_EMIT errorChanged();
}
