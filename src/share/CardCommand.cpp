#include "share/CardCommand.h"

#include "core/AccountStore.h"
#include "core/EventStore.h"
#include "core/Keychain.h"
#include "share/CardFile.h"
#include "share/ShareCards.h"
#include "share/ShareExporter.h"
#include "share/ShareState.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>
#include <QTimer>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr auto switchName = "--export-card";

// A script must not hang on a page that never answers.
constexpr auto limit = 60s;

int fail(const QString &sentence)
{
    QTextStream(stderr) << sentence << Qt::endl;
    return 1;
}

struct Request {
    QString path;
    QString card;
};

std::optional<Request> parse(const QStringList &args, QString &why)
{
    const qsizetype at = args.indexOf(QLatin1String(switchName));
    const QString path = args.value(at + 1);
    if (path.isEmpty() || path.startsWith(u"--")) {
        why = QStringLiteral("--export-card needs the path of the PNG file to write.");
        return std::nullopt;
    }
    const qsizetype cardAt = args.indexOf(QStringLiteral("--card"));
    const QString card = cardAt < 0 ? QStringLiteral("day") : args.value(cardAt + 1);
    if (!QStringList{"day", "win", "framer"}.contains(card)) {
        why = QStringLiteral("--card takes day, win or framer.");
        return std::nullopt;
    }
    return Request{path, card};
}

// Writes the picture and ends the event loop with the command's status.
void write(const Request &request, std::optional<QImage> image)
{
    const std::optional<QByteArray> png = image ? ShareExporter::png(*image) : std::nullopt;
    if (!png) {
        QCoreApplication::exit(fail(QStringLiteral("Couldn't render the card.")));
        return;
    }
    const QFileInfo file(request.path);
    const CardFile::Saved saved = CardFile::save(file.absolutePath(), file.fileName(), *png);
    QCoreApplication::exit(
        saved.path.isEmpty() ? fail(QStringLiteral("Couldn't save: ") + saved.error) : 0);
}

}

namespace CardCommand {

bool requested(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], switchName) == 0)
            return true;
    return false;
}

void prepare()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Chromium's sandbox refuses to start for root.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The engine reports its set-up and Qt's own type notes on the standard
    // error stream; a script reading this command's errors sees only ours.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QtWebEngineQuick::initialize();
}

int run(const QStringList &arguments)
{
    QString why;
    const std::optional<Request> request = parse(arguments, why);
    if (!request)
        return fail(why);
    // Framer's figures are read only by the running app; the stored data
    // has none, so the Framer card cannot be made here.
    if (request->card == u"framer")
        return fail(QStringLiteral(
            "The Framer card needs today's Framer figures, which only the running app reads."));
    SystemClock clock;
    QSettings settings;
    Keychain keychain;
    AccountStore accounts(settings, keychain);
    EventStore events(EventStore::defaultPath());
    const QDateTime now = clock.now();
    const CardFigures figures{now, events.today(now), accounts.accounts(), std::nullopt};
    QVariantMap state = ShareCards::state(settings);
    state.insert(QStringLiteral("k"), request->card);

    ShareExporter exporter(clock);
    exporter.exportCard(ShareCards::data(figures, QString::fromLatin1(ShareCards::logoFolder)),
                        state,
                        [&](std::optional<QImage> image) { write(*request, std::move(image)); });
    QTimer::singleShot(limit, qApp, [] {
        QCoreApplication::exit(
            fail(QStringLiteral("Couldn't render the card: the page did not answer.")));
    });
    return QCoreApplication::exec();
}

}
