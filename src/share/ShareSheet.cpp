#include "share/ShareSheet.h"

#include "notch/NotchModel.h"
#include "share/PageScript.h"
#include "share/ShareActions.h"
#include "share/ShareState.h"

#include <QQmlWebChannel>

ShareSheet::ShareSheet(QSettings &settings, NotchModel &model, ShareActions &actions, QUrl page,
                       QObject *parent)
    : QObject(parent), m_settings(settings), m_model(model), m_page(std::move(page)),
      m_webChannel(new QQmlWebChannel(this))
{
    m_webChannel->registerObject(QStringLiteral("kv"), &m_channel);
    connect(&m_channel, &ShareChannel::message, this, &ShareSheet::onMessage);
    connect(&actions, &ShareActions::toast, this,
            [this](const QString &message) { Q_EMIT script(PageScript::toast(message)); });
}

QObject *ShareSheet::channel() const
{
    return m_webChannel;
}

void ShareSheet::onMessage(const QString &action, const QVariantMap &body)
{
    if (action != u"loaded") {
        m_model.requestShareAction(action, body);
        return;
    }
    QVariantMap state = ShareCards::state(m_settings);
    state.insert(QStringLiteral("k"), QStringLiteral("day"));
    Q_EMIT script(PageScript::load(m_model.shareData, state));
    Q_EMIT focusRequested();
}
