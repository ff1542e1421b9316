#pragma once

#include "core/Clock.h"
#include "share/ShareChannel.h"

#include <QCoroTask>
#include <QImage>
#include <QPointer>
#include <QUrl>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

class QQuickView;

// Renders share cards to images with one off-screen copy of our share page
// in export mode. The page is made on the first export and kept while it is
// used; after a quiet minute (and never while the sheet is open or an export
// waits) it is released, so no web engine runs at rest.
class ShareExporter : public QObject {
    Q_OBJECT
public:
    static constexpr int width = 2400; // pixels of every exported card
    static constexpr std::chrono::seconds quiet{60};

    using Done = std::function<void(std::optional<QImage>)>;

    // `page` is our share page; the exporter opens it with "#export".
    ShareExporter(Clock &clock, QUrl page = defaultPage(), QObject *parent = nullptr);
    ~ShareExporter() override;

    static QUrl defaultPage();

    // Renders one card and calls `done` with the image, or with nothing when
    // the page cannot be loaded. A newer export replaces a pending one, whose
    // `done` is then never called. A page that never answers leaves the
    // export pending.
    void exportCard(const QVariantMap &data, const QVariantMap &state, Done done);

    // While the sheet is open the page is kept for its next export.
    void setSheetOpen(bool open);
    bool hasPage() const { return m_view != nullptr; }
    bool pending() const { return m_pending.has_value(); }

    // PNG bytes of the image, or nothing when it cannot be encoded.
    static std::optional<QByteArray> png(const QImage &image);

Q_SIGNALS:
    void pageChanged();                // made or released
    void loadFinished(bool succeeded); // the page's own load, before it answers

private Q_SLOTS:
    void onLoadFinished(bool ok);

private:
    struct Pending {
        QVariantMap data;
        QVariantMap state;
        Done done;
        quint64 seq = 0;
    };

    void create();
    void release();
    void start();
    void onMessage(const QString &action, const QVariantMap &body);
    void snapshot();
    void retake();
    static bool stamped(const QImage &image, quint64 seq);
    void finish(std::optional<QImage> image);
    QCoro::Task<> releaseWhenQuiet();

    Clock &m_clock;
    QUrl m_page;
    ShareChannel m_channel;
    std::unique_ptr<QQuickView> m_view;
    bool m_loaded = false;
    bool m_sheetOpen = false;
    std::optional<Pending> m_pending;
    quint64 m_seq = 0;
    quint64 m_ready = 0;    // the export the page last said it has drawn
    quint64 m_activity = 0; // moves on every use; a quiet minute is one it did not move in
};
