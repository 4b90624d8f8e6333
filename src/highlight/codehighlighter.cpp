#include "highlight/codehighlighter.h"

#include "highlight/grammarlibrary_p.h"
#include "highlight/grammarmatcher_p.h"

namespace kestrune {

std::optional<QString> CodeHighlighter::languageOf(QStringView fenceInfo)
{
    qsizetype end = 0;
    while (end < fenceInfo.size() && !fenceInfo[end].isSpace() && fenceInfo[end] != u'{')
        ++end;
    if (end == 0)
        return std::nullopt;
    const QString language = GrammarLibrary::instance().resolve(fenceInfo.first(end));
    if (language.isEmpty())
        return std::nullopt;
    return language;
}

QStringList CodeHighlighter::languages()
{
    return GrammarLibrary::instance().languages();
}

std::optional<QList<CodeToken>> CodeHighlighter::highlight(QStringView code, const QString &language,
                                                           std::chrono::milliseconds budget)
{
    if (code.size() > maxCodeLength)
        return std::nullopt;
    const GrammarLibrary &library = GrammarLibrary::instance();
    const Grammar *grammar = library.grammar(library.resolve(language));
    if (!grammar)
        return std::nullopt;
    // A grammar's first use compiles it; that is not the block's time.
    GrammarMatcher matcher(library, std::chrono::steady_clock::now() + budget);
    if (!matcher.run(code, *grammar))
        return std::nullopt;
    return matcher.tokens();
}

} // namespace kestrune
