#include "share/ShareActions.h"

#include "notch/NotchModel.h"
#include "share/CardFile.h"
#include "share/FileReveal.h"
#include "share/ShareCards.h"
#include "share/ShareExporter.h"
#include "share/ShareState.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QPointer>
#include <QTextStream>

namespace {

QVariantMap stateOf(const QVariantMap &body)
{
    const QVariant state = body.value(QStringLiteral("state"));
    return state.typeId() == QMetaType::QVariantMap ? state.toMap() : QVariantMap();
}

}

ShareActions::ShareActions(QSettings &settings, Clock &clock, NotchModel &model,
                           ShareExporter &exporter, QString logoFolder, QObject *parent)
    : QObject(parent), m_settings(settings), m_clock(clock), m_model(model), m_exporter(exporter),
      m_logoFolder(std::move(logoFolder))
{
    connect(&m_model, &NotchModel::phaseChanged, this,
            [this] { m_exporter.setSheetOpen(m_model.phase() == NotchModel::Phase::Share); });
}

void ShareActions::open()
{
    m_model.shareData = ShareCards::data(CardFigures::of(m_model, m_clock.now()), m_logoFolder);
    m_model.openShare();
}

void ShareActions::handle(const QString &action, const QVariantMap &body)
{
    const QVariantMap state = stateOf(body);
    if (action == u"state") {
        ShareCards::setState(m_settings, state);
    } else if (action == u"layout") {
        QTextStream(stderr) << "Korvanta layout: share sheet "
                            << body.value(QStringLiteral("size")).toString() << " overflow "
                            << body.value(QStringLiteral("issues")).toString() << '\n';
    } else if (action == u"close") {
        m_model.collapse();
    } else {
        ShareCards::setState(m_settings, state);
        const QVariant caption = body.value(QStringLiteral("caption"));
        const QString text =
            caption.typeId() == QMetaType::QString ? caption.toString() : QString();
        QPointer<ShareActions> self(this);
        m_exporter.exportCard(m_model.shareData, state,
                              [self, action, text](std::optional<QImage> image) {
                                  if (self)
                                      self->complete(action, text, std::move(image));
                              });
    }
}

void ShareActions::complete(const QString &action, const QString &caption,
                            std::optional<QImage> image)
{
    const std::optional<QByteArray> png = image ? ShareExporter::png(*image) : std::nullopt;
    if (!png) {
        Q_EMIT toast(QStringLiteral("Couldn't render the card"));
        return;
    }
    if (action == u"copy")
        copy(*image);
    else if (action == u"save")
        save(*png);
    else if (action == u"post")
        post(*image, caption);
}

void ShareActions::copy(const QImage &image)
{
    QGuiApplication::clipboard()->setImage(image);
    Q_EMIT toast(QStringLiteral("Card copied to the clipboard"));
}

void ShareActions::save(const QByteArray &png)
{
    const CardFile::Saved saved = CardFile::save(CardFile::downloadsFolder(),
                                                 CardFile::name(m_clock.now().toLocalTime()), png);
    if (saved.path.isEmpty()) {
        Q_EMIT toast(QStringLiteral("Couldn't save: ") + saved.error);
        return;
    }
    Q_EMIT toast(QStringLiteral("Saved to Downloads"));
    FileReveal::show(saved.path);
}

void ShareActions::post(const QImage &image, const QString &caption)
{
    QGuiApplication::clipboard()->setImage(image);
    QDesktopServices::openUrl(composeUrl(caption));
    Q_EMIT toast(QStringLiteral("Card copied. Paste it into your post"));
}

QUrl ShareActions::composeUrl(const QString &caption)
{
    QUrl url(QStringLiteral("https://x.com/intent/post"));
    if (!caption.trimmed().isEmpty()) {
        // Encoded by hand: "&", "+" and "#" in a caption must stay text.
        url.setQuery(QStringLiteral("text=")
                     + QString::fromLatin1(QUrl::toPercentEncoding(caption)));
    }
    return url;
}
