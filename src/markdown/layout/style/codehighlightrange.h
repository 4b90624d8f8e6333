#pragma once

#include "markdown/layout/style/textstyle.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace kestrune {

// A styled stretch of a code block, as a syntax highlighter reports it.
struct CodeHighlightRange
{
    int start = 0;
    int length = 0;
    TextStyle style;
};

// Turns a code block's text and language into styled ranges over the code style in force. An
// empty highlighter draws code as plain, unstyled text.
using CodeSyntaxHighlighter =
    std::function<QList<CodeHighlightRange>(const QString &code, const std::optional<QString> &language)>;

} // namespace kestrune
