#include "notch/RibsScript.h"

#include <QLocale>
#include <cmath>

QString ribsNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0.0"); // not a number the page could read
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    if (!text.contains(u'.') && !text.contains(u'e'))
        text += QStringLiteral(".0");
    return text;
}

QString ribsScript(const QString &color, double reach, double vreach, bool visible,
                   const QString &extra)
{
    QString script = QStringLiteral("KV.set({");
    if (!extra.isEmpty())
        script += extra + u',';
    // The colour goes into a quoted string: keep anything but a colour text out.
    QString safeColor = color;
    safeColor.remove(u'\'').remove(u'\\');
    script += QStringLiteral("color:'") + safeColor + QStringLiteral("',reach:") + ribsNumber(reach)
        + QStringLiteral(",vreach:") + ribsNumber(vreach) + QStringLiteral(",visible:")
        + (visible ? QStringLiteral("true") : QStringLiteral("false")) + QStringLiteral("})");
    return script;
}
