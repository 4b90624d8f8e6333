#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace kestrune {

// Scores how well a typed query matches a text whose letters it names in order, case ignored
// ("tsk" matches "tasks.md"). Each letter matched scores; a letter right after the one matched
// before it scores more, and so does one at the start of a word: the text's first letter, one
// after "/", "-", "_", "." or a space, and an upper-case letter after a lower-case one. Every gap
// between matched letters costs, the more the longer it is. Of all the ways the query's letters
// can be found in the text the best one counts.
class SubsequenceMatcher
{
public:
    struct Match
    {
        int score = 0;
        QList<qsizetype> positions; // in the text, ascending, one per letter of the query
    };

    static constexpr int letterScore = 16;
    static constexpr int consecutiveBonus = 18;
    static constexpr int wordStartBonus = 20;
    static constexpr int gapOpening = 8;
    static constexpr int gapPerLetter = 1;
    // Longer texts are matched on their beginning only (an endless line must not cost a keystroke).
    static constexpr qsizetype longestText = 2048;

    // White space in the query is left out: "add tag" matches as "addtag".
    explicit SubsequenceMatcher(QStringView query);

    // The query as matched: case folded, without white space.
    const QString &query() const { return m_query; }
    bool isEmpty() const { return m_query.isEmpty(); }

    // The best score; nothing when the text does not hold the query's letters in order. An empty
    // query matches every text with 0.
    std::optional<int> score(QStringView text) const;
    // The best score and where its letters are.
    std::optional<Match> match(QStringView text) const;

    static bool isWordStart(QStringView text, qsizetype index);
    static char16_t fold(QChar c);

private:
    bool containsInOrder(QStringView text) const;

    QString m_query;
};

} // namespace kestrune
