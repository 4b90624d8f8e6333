#pragma once

#include <QString>

namespace kestrune {

// Colours the code blocks of HTML that cmark-gfm rendered: the text of every
// `<pre><code class="language-NAME">` whose language has a grammar becomes
// `<span class="code-KIND">` runs (KIND as codeTokenKindName() gives it). The
// code inside such an element is escaped text, so it is read back, coloured and
// escaped again; anything else in the HTML is left as it is.
class HighlightedCodeHtml
{
public:
    static QString apply(const QString &html);
};

} // namespace kestrune
