#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

class AccountStore;
class EventStore;
class NotchModel;
class QQmlEngine;
class TodayModel;

// The dashboard drawn into an image, for scripts and screenshots: no
// running application and no display needed.
namespace TodayRender {
// Puts the stored accounts and today's and yesterday's events into the model.
void loadStored(NotchModel &notch, const EventStore &events, const AccountStore &accounts,
                const QDateTime &now);
// The dashboard on the island's black, as wide as the open island.
QImage image(QQmlEngine &engine, TodayModel &model);
// Writes the PNG; returns the sentence to show when it could not.
QString toFile(QQmlEngine &engine, TodayModel &model, const QString &path);
}
