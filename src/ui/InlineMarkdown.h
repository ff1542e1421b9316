#pragma once

#include <QString>

// The connect form's help steps mark **bold** and `code` spans; this turns
// one step into the rich text the view shows. Everything else is escaped,
// and a marker without its closing twin stays as typed.
namespace InlineMarkdown {
QString toHtml(const QString &text);
}
