#include "ui/InlineMarkdown.h"

namespace {

const QString codeOpen = QStringLiteral(
    "<code style=\"font-family:monospace;background-color:rgba(244,242,236,0.08)\">");

// The closing marker's index, or -1 when the span is not closed.
qsizetype closing(const QString &text, qsizetype from, const QString &marker)
{
    return text.indexOf(marker, from);
}

}

namespace InlineMarkdown {

QString toHtml(const QString &text)
{
    QString html;
    bool bold = false;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.mid(i, 2) == u"**"
            && (bold || closing(text, i + 2, QStringLiteral("**")) > i + 2)) {
            html += bold ? QStringLiteral("</b>") : QStringLiteral("<b>");
            bold = !bold;
            i += 2;
        } else if (text[i] == u'`' && closing(text, i + 1, QStringLiteral("`")) > i + 1) {
            const qsizetype end = closing(text, i + 1, QStringLiteral("`"));
            html +=
                codeOpen + text.mid(i + 1, end - i - 1).toHtmlEscaped() + QStringLiteral("</code>");
            i = end + 1;
        } else {
            html += QString(text[i]).toHtmlEscaped();
            ++i;
        }
    }
    if (bold)
        html += QStringLiteral("</b>");
    return html;
}

}
