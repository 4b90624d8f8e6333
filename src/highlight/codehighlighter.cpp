#include "highlight/codehighlighter.h"

namespace kestrune {

std::optional<QString> CodeHighlighter::languageOf(QStringView fenceInfo)
{
    Q_UNUSED(fenceInfo)
    return std::nullopt;
}

std::optional<QList<CodeToken>> CodeHighlighter::highlight(QStringView code, const QString &language,
                                                           std::chrono::milliseconds budget)
{
    Q_UNUSED(code)
    Q_UNUSED(language)
    Q_UNUSED(budget)
    return std::nullopt;
}

} // namespace kestrune
