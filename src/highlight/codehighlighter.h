#pragma once

#include "highlight/codetoken.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <chrono>
#include <optional>

namespace kestrune {

// Colours code by language. The grammars are those of the highlight.js project, taken from the
// system's copy at build time and run by a matcher of our own over QRegularExpression, so a
// block is read once from start to end.
//
// Every function may be called on any thread at once; the grammars are read on first use and
// never change afterwards.
class CodeHighlighter
{
public:
    // Code longer than this stays plain.
    static constexpr qsizetype maxCodeLength = 256 * 1024;
    // How long one block may take before it is given up and drawn plain.
    static constexpr std::chrono::milliseconds defaultBudget{250};

    // The language a fence's info string names: its first word, without regard to letter case,
    // with the usual aliases ("ts" is "typescript", "sh" is "bash", "csharp" is "cs", ...).
    // Nothing for an empty info string or a language without a grammar.
    static std::optional<QString> languageOf(QStringView fenceInfo);

    // The names of the bundled languages, as languageOf() gives them.
    static QStringList languages();

    // The tokens of `code` in `language` (a name languageOf() gave), in order, not
    // overlapping; stretches no token covers are plain. Nothing when the language has no
    // grammar, the code is longer than maxCodeLength or the work takes longer than `budget`.
    static std::optional<QList<CodeToken>> highlight(QStringView code, const QString &language,
                                                     std::chrono::milliseconds budget = defaultBudget);
};

} // namespace kestrune
