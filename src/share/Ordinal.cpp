#include "share/Ordinal.h"

#include <memory>
#include <unicode/rbnf.h>

namespace Ordinal {

QString of(qint64 number)
{
    // Built once: ICU's rules never change during a run.
    static const std::unique_ptr<icu::RuleBasedNumberFormat> format = [] {
        UErrorCode status = U_ZERO_ERROR;
        auto made = std::make_unique<icu::RuleBasedNumberFormat>(icu::URBNF_ORDINAL,
                                                                 icu::Locale::getEnglish(), status);
        return U_FAILURE(status) ? nullptr : std::move(made);
    }();
    if (!format)
        return QString::number(number);
    icu::UnicodeString text;
    format->format(int64_t(number), text);
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

}
