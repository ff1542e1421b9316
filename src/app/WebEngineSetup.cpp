#include "app/WebEngineSetup.h"

#include "framer/ChromiumFlags.h"
#include "framer/FramerWebRoutes.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <unistd.h>

namespace WebEngineSetup {

void prepare(const FramerWebRoutes &routes)
{
    // Chromium's sandbox refuses to run as root.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QByteArray flags = routes.chromiumFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
    // Without a sandbox the zygote only saves start-up time, and once the
    // first page has made it, it stays for the rest of the run. Renderers
    // started directly end with their page: nothing stays at rest.
    if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        flags = withChromiumFlag(flags, "--no-zygote");
    // The engine's own start-up report and Chromium's error log are for its
    // developers; a running app says nothing in normal operation.
    flags = withChromiumFlag(flags, "--log-level=3", "--log-level");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    // Nor are the console messages of the pages, Framer's own site among them.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false\njs=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}
