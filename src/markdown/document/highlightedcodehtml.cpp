#include "markdown/document/highlightedcodehtml_p.h"

#include "highlight/codehighlighter.h"

#include <QStringView>

namespace kestrune {

namespace {

const QLatin1StringView codeStart("<pre><code class=\"language-");
const QLatin1StringView codeEnd("</code></pre>");

// The text of escaped HTML: cmark-gfm escapes only these four in code.
QString unescaped(QStringView html)
{
    QString text;
    text.reserve(html.size());
    for (qsizetype at = 0; at < html.size();) {
        if (html[at] == u'&') {
            static const std::pair<QLatin1StringView, QChar> entities[] = {
                {QLatin1StringView("&amp;"), u'&'},
                {QLatin1StringView("&lt;"), u'<'},
                {QLatin1StringView("&gt;"), u'>'},
                {QLatin1StringView("&quot;"), u'"'},
            };
            bool replaced = false;
            for (const auto &[entity, character] : entities) {
                if (html.sliced(at).startsWith(entity)) {
                    text += character;
                    at += entity.size();
                    replaced = true;
                    break;
                }
            }
            if (replaced)
                continue;
        }
        text += html[at++];
    }
    return text;
}

QString escaped(QStringView text)
{
    return text.toString().toHtmlEscaped();
}

QString colouredCode(const QString &code, const QList<CodeToken> &tokens)
{
    QString html;
    html.reserve(code.size() * 2);
    qsizetype at = 0;
    for (const CodeToken &token : tokens) {
        html += escaped(QStringView(code).sliced(at, token.start - at));
        html += QLatin1StringView("<span class=\"code-") + codeTokenKindName(token.kind) +
                QLatin1StringView("\">") + escaped(QStringView(code).sliced(token.start, token.length)) +
                QLatin1StringView("</span>");
        at = token.start + token.length;
    }
    html += escaped(QStringView(code).sliced(at));
    return html;
}

} // namespace

QString HighlightedCodeHtml::apply(const QString &html)
{
    QString result;
    qsizetype copiedUpTo = 0; // html before this is in result
    qsizetype searchFrom = 0;
    for (qsizetype start; (start = html.indexOf(codeStart, searchFrom)) >= 0;) {
        const qsizetype nameStart = start + codeStart.size();
        const qsizetype nameEnd = html.indexOf(u'"', nameStart);
        const qsizetype tagEnd = nameEnd < 0 ? -1 : html.indexOf(u'>', nameEnd);
        const qsizetype end = tagEnd < 0 ? -1 : html.indexOf(codeEnd, tagEnd);
        if (end < 0)
            break;
        searchFrom = end + codeEnd.size();
        const qsizetype textStart = tagEnd + 1;
        const std::optional<QString> language =
            CodeHighlighter::languageOf(unescaped(QStringView(html).sliced(nameStart, nameEnd - nameStart)));
        if (!language)
            continue;
        const QString code = unescaped(QStringView(html).sliced(textStart, end - textStart));
        const std::optional<QList<CodeToken>> tokens = CodeHighlighter::highlight(code, *language);
        if (!tokens || tokens->isEmpty())
            continue;
        result += QStringView(html).sliced(copiedUpTo, textStart - copiedUpTo);
        result += colouredCode(code, *tokens);
        copiedUpTo = end;
    }
    if (copiedUpTo == 0)
        return html;
    result += QStringView(html).sliced(copiedUpTo);
    return result;
}

} // namespace kestrune
