#pragma once

#include "highlight/codetoken.h"
#include "highlight/grammar_p.h"

#include <QList>
#include <QRegularExpression>
#include <QStringView>

#include <chrono>
#include <vector>

namespace kestrune {

class GrammarLibrary;

// Runs a grammar over code the way highlight.js's highlight() does, lexeme by lexeme, and
// collects the kinds of the classes it opens as tokens instead of writing HTML.
//
// What differs from highlight.js, on purpose: a mode's end is tried by an anchored match at the
// lexeme's offset in the code, never on a copy of the rest of the text, so a block is read in
// linear time; the end of a mode that ends as it began is held by the mode's frame, not by the
// shared mode; a sub-language is run afresh on its stretch (no continuations), and of a list of
// sub-languages the first bundled one is taken instead of guessing; illegal lexemes are passed
// over; a loop that stops advancing is pushed on by a character; and past the deadline the work
// is given up.
class GrammarMatcher
{
public:
    GrammarMatcher(const GrammarLibrary &library, std::chrono::steady_clock::time_point deadline);

    // The tokens of `code` in `grammar`; false when the deadline passed.
    bool run(QStringView code, const Grammar &grammar);
    const QList<CodeToken> &tokens() const { return m_tokens; }

private:
    struct Frame
    {
        const GrammarMode *mode = nullptr;
        int kind = -1; // the kind its text gets: its own class's or the one around it
        // The end of a mode that ends as it began: its beginning lexeme, escaped.
        QRegularExpression sameEnd;
        bool hasSameEnd = false;
    };

    // One grammar over one stretch of the code (the whole code, or a sub-language's part).
    class Pass;

    void addToken(qsizetype start, qsizetype end, int kind);
    bool overBudget();

    const GrammarLibrary &m_library;
    std::chrono::steady_clock::time_point m_deadline;
    QList<CodeToken> m_tokens;
    qsizetype m_emittedUpTo = 0; // text before this has its kind
    int m_stepsSinceClockCheck = 0;
    bool m_overBudget = false;
    int m_depth = 0;
};

} // namespace kestrune
