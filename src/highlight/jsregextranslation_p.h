#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringView>

namespace kestrune {

// The grammars' patterns are JavaScript regular expressions; the matcher runs them with PCRE2.
// This rewrites a JavaScript pattern (without the u flag) into a PCRE2 one that matches the
// same: \uXXXX, [^] and [], JavaScript's line terminators (CR, LF, U+2028, U+2029) for ^, $ and
// ., its Unicode white space for \s, identity escapes of letters, \v, and [ inside a class.
QString pcrePatternFromJavaScript(QStringView pattern);

// The pattern translated and compiled as the grammars use it: multi-line, ignoring case when
// asked, compiled at once. The result may be invalid; isValid() tells.
QRegularExpression compileJavaScriptPattern(QStringView pattern, bool caseInsensitive);

} // namespace kestrune
