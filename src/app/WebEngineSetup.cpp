#include "app/WebEngineSetup.h"

#include "framer/FramerWebRoutes.h"

#include <QCoreApplication>
#include <unistd.h>

namespace WebEngineSetup {

void prepare(const FramerWebRoutes &routes)
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            routes.chromiumFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
    // Chromium's sandbox refuses to run as root.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}
