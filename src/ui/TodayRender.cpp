#include "ui/TodayRender.h"

#include "core/AccountStore.h"
#include "core/EventStore.h"
#include "notch/NotchModel.h"
#include "ui/TodayModel.h"
#include "ui/UiModule.h"

#include <QQuickView>

namespace TodayRender {

void loadStored(NotchModel &notch, const EventStore &events, const AccountStore &accounts,
                const QDateTime &now)
{
    std::optional<QDateTime> lastCheck;
    for (const Account &a : accounts.accounts())
        if (const auto at = events.lastPoll(a.id); at && (!lastCheck || *at > *lastCheck))
            lastCheck = at;
    notch.setAccounts(accounts.accounts());
    notch.setHasAccounts(!accounts.accounts().isEmpty());
    notch.setSales(events.today(now));
    notch.setYesterdaySales(events.yesterday(now));
    notch.setLastCheck(lastCheck);
}

QImage image(QQmlEngine &engine, TodayModel &model)
{
    UiModule::prepare(engine);
    QQuickView view(&engine, nullptr);
    view.setInitialProperties({{QStringLiteral("model"), QVariant::fromValue(&model)}});
    view.setResizeMode(QQuickView::SizeViewToRootObject);
    view.setColor(Qt::black);
    view.setSource(UiModule::url(QStringLiteral("TodayCard")));
    if (view.status() != QQuickView::Ready)
        return {};
    model.setActive(true);
    QImage image = view.grabWindow();
    model.setActive(false);
    return image;
}

QString toFile(QQmlEngine &engine, TodayModel &model, const QString &path)
{
    const QImage picture = image(engine, model);
    if (picture.isNull())
        return QStringLiteral("The dashboard could not be drawn.");
    if (!picture.save(path, "PNG"))
        return QStringLiteral("Couldn't write the image to ") + path + u'.';
    return {};
}

}
