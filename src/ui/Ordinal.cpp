#include "ui/TodayFigures.h"

#include <unicode/unum.h>

namespace TodayFigures {

QString ordinal(qint64 n, const QLocale &locale)
{
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray name = locale.name().toLatin1();
    UNumberFormat *fmt = unum_open(UNUM_ORDINAL, nullptr, 0, name.constData(), nullptr, &status);
    if (U_FAILURE(status))
        return QString::number(n);
    UChar buffer[64];
    const int32_t length = unum_formatInt64(fmt, n, buffer, 64, nullptr, &status);
    unum_close(fmt);
    if (U_FAILURE(status) || length <= 0)
        return QString::number(n);
    return QString(reinterpret_cast<const QChar *>(buffer), length);
}

}
