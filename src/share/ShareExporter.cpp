#include "share/ShareExporter.h"

#include "share/PageScript.h"

#include <QBuffer>
#include <QQmlWebChannel>
#include <QQuickItem>
#include <QQuickView>

ShareExporter::ShareExporter(Clock &clock, QUrl page, QObject *parent)
    : QObject(parent), m_clock(clock), m_page(std::move(page))
{
    m_page.setFragment(QStringLiteral("export"));
    connect(&m_channel, &ShareChannel::message, this, &ShareExporter::onMessage);
}

ShareExporter::~ShareExporter() = default;

QUrl ShareExporter::defaultPage()
{
    return QUrl(QStringLiteral("qrc:/share/share.html"));
}

void ShareExporter::exportCard(const QVariantMap &data, const QVariantMap &state, Done done)
{
    m_pending = Pending{data, state, std::move(done), ++m_seq};
    ++m_activity;
    if (!m_view)
        create();
    else if (m_loaded)
        start();
}

void ShareExporter::setSheetOpen(bool open)
{
    m_sheetOpen = open;
    if (!open && m_view)
        releaseWhenQuiet();
}

std::optional<QByteArray> ShareExporter::png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}

// A frameless, nearly transparent window that takes no input and stays at
// the back: the web engine renders only into a shown window.
void ShareExporter::create()
{
    m_loaded = false;
    m_view = std::make_unique<QQuickView>();
    // Owned by the view, so it outlives the page that uses it.
    auto *webChannel = new QQmlWebChannel(m_view.get());
    webChannel->registerObject(QStringLiteral("kv"), &m_channel);
    m_view->setFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowTransparentForInput
                     | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus);
    m_view->setColor(Qt::transparent);
    m_view->setOpacity(0.01);
    m_view->setInitialProperties(
        {{QStringLiteral("page"), m_page},
         {QStringLiteral("channel"), QVariant::fromValue<QObject *>(webChannel)}});
    m_view->setSource(QUrl(QStringLiteral("qrc:/share/ExportView.qml")));
    QQuickItem *root = m_view->rootObject();
    if (!root) {
        release();
        finish(std::nullopt);
        return;
    }
    connect(root, SIGNAL(loadFinished(bool)), this, SLOT(onLoadFinished(bool)));
    m_view->resize(root->size().toSize());
    m_view->show();
    Q_EMIT pageChanged();
}

// Deferred, since a release can start from the page's own signal.
void ShareExporter::release()
{
    if (m_view)
        m_view.release()->deleteLater();
    m_loaded = false;
    Q_EMIT pageChanged();
}

void ShareExporter::start()
{
    QVariantMap state = m_pending->state;
    // Echoed by the page's "ready", so an answer for a replaced export is
    // never taken for the current one.
    state.insert(QStringLiteral("seq"), m_pending->seq);
    QMetaObject::invokeMethod(m_view->rootObject(), "run",
                              Q_ARG(QVariant, PageScript::exportCard(m_pending->data, state)));
}

void ShareExporter::onMessage(const QString &action, const QVariantMap &body)
{
    if (!m_view)
        return;
    if (action == u"loaded") {
        m_loaded = true;
        if (m_pending)
            start();
    } else if (action == u"ready" && m_pending) {
        const QVariant seq = body.value(QStringLiteral("seq"));
        if (seq.isValid() && !seq.isNull() && seq.toULongLong() != m_pending->seq)
            return;
        m_ready = m_pending->seq;
        snapshot();
    }
}

void ShareExporter::onLoadFinished(bool ok)
{
    Q_EMIT loadFinished(ok);
    if (ok)
        return;
    // A page that cannot load will never answer: say so instead of waiting.
    release();
    finish(std::nullopt);
}

// The page's frame reaches the window a little after the page has drawn it:
// until the picture carries this export's stamp, take it again after the
// next frame.
void ShareExporter::snapshot()
{
    QImage image = m_view->grabWindow();
    if (!image.isNull() && !stamped(image, m_pending->seq)) {
        connect(m_view.get(), &QQuickWindow::frameSwapped, this, &ShareExporter::retake,
                Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
        return;
    }
    if (!image.isNull() && image.width() != width)
        image = image.scaledToWidth(width, Qt::SmoothTransformation);
    image.setDevicePixelRatio(1);
    finish(image.isNull() ? std::nullopt : std::optional(image));
}

void ShareExporter::retake()
{
    if (m_view && m_pending && m_ready == m_pending->seq)
        snapshot();
}

bool ShareExporter::stamped(const QImage &image, quint64 seq)
{
    const QColor corner = image.pixelColor(0, image.height() - 1);
    return corner.red() == 16 && corner.green() == 16 && corner.blue() == int(14 + seq % 8);
}

void ShareExporter::finish(std::optional<QImage> image)
{
    if (!m_pending)
        return;
    Done done = std::move(m_pending->done);
    m_pending.reset();
    ++m_activity;
    if (m_view)
        releaseWhenQuiet();
    if (done)
        done(std::move(image));
}

QCoro::Task<> ShareExporter::releaseWhenQuiet()
{
    const quint64 mark = m_activity;
    QPointer<ShareExporter> self(this);
    co_await m_clock.sleep(quiet);
    if (!self || mark != m_activity || m_pending || m_sheetOpen || !m_view)
        co_return;
    release();
}
