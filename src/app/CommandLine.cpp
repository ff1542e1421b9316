#include "app/CommandLine.h"

#include "app/Usage.h"

CommandLine::CommandLine(const QStringList &arguments)
{
    for (qsizetype i = 0; i < arguments.size() && m_error.isEmpty(); ++i) {
        const Usage::Switch *known = Usage::find(arguments[i]);
        if (!known) {
            m_error = QStringLiteral("Unknown switch \"%1\".").arg(arguments[i]);
        } else if (known->value.isEmpty()) {
            m_given.insert(known->name, {});
        } else if (i + 1 < arguments.size() && !Usage::find(arguments[i + 1])) {
            m_given.insert(known->name, arguments[++i]);
        } else if (known->valueOptional) {
            m_given.insert(known->name, {});
        } else {
            m_error =
                QStringLiteral("The switch %1 needs a %2 after it.").arg(known->name, known->value);
        }
    }
}
