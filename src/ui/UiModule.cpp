#include "ui/UiModule.h"

#include "design/DesignQml.h"
#include "notch/NotchQml.h"

#include <QQmlEngine>

void qml_register_types_Korvanta_Ui();

namespace UiModule {

void prepare(QQmlEngine &)
{
    registerDesignQml();
    registerNotchQml(); // the walkthrough shows the island's ribs
    static const bool registered = [] {
        qml_register_types_Korvanta_Ui();
        return true;
    }();
    Q_UNUSED(registered);
}

QUrl url(const QString &view)
{
    return QUrl(QStringLiteral("qrc:/qt-project.org/imports/Korvanta/Ui/") + view
                + QStringLiteral(".qml"));
}

}
