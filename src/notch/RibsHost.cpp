#include "notch/RibsHost.h"

#include "notch/RibsScript.h"

RibsHost::RibsHost(QObject *parent) : QObject(parent), m_pending(script())
{
}

QString RibsHost::script() const
{
    return ribsScript(m_color, m_reach, m_vreach, m_shown, m_extra);
}

void RibsHost::run(const QString &script)
{
    if (m_loaded)
        Q_EMIT evaluate(script);
    else
        m_pending = script;
}

void RibsHost::pageLoaded(bool ok)
{
    if (!ok || m_loaded)
        return;
    m_loaded = true;
    Q_EMIT loadedChanged();
    if (m_pending)
        Q_EMIT evaluate(*std::exchange(m_pending, std::nullopt));
}

void RibsHost::pageGone()
{
    m_pending = script();
    if (std::exchange(m_loaded, false))
        Q_EMIT loadedChanged();
}
