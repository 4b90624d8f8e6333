#include "search/subsequencematcher.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace kestrune {

namespace {

constexpr int unreachable = INT_MIN / 4;

bool isSeparator(QChar c)
{
    switch (c.unicode()) {
    case u'/':
    case u'-':
    case u'_':
    case u'.':
    case u' ':
        return true;
    default:
        return false;
    }
}

} // namespace

SubsequenceMatcher::SubsequenceMatcher(QStringView query)
{
    m_query.reserve(query.size());
    for (const QChar c : query) {
        if (!c.isSpace())
            m_query.append(QChar(fold(c)));
    }
}

char16_t SubsequenceMatcher::fold(QChar c)
{
    const char16_t code = c.unicode();
    if (code < 0x80)
        return code >= u'A' && code <= u'Z' ? char16_t(code + (u'a' - u'A')) : code;
    return c.toCaseFolded().unicode();
}

bool SubsequenceMatcher::isWordStart(QStringView text, qsizetype index)
{
    if (index <= 0)
        return true;
    const QChar before = text.at(index - 1);
    return isSeparator(before) || (before.isLower() && text.at(index).isUpper());
}

bool SubsequenceMatcher::containsInOrder(QStringView text) const
{
    qsizetype next = 0;
    for (qsizetype index = 0; index < text.size() && next < m_query.size(); ++index) {
        if (fold(text.at(index)) == m_query.at(next).unicode())
            ++next;
    }
    return next == m_query.size();
}

// best[j][i]: the best score of the query's first j + 1 letters with letter j at text[i]. A
// letter follows the one before either right after it (consecutive) or after a gap, whose cost
// grows by letter: the best over all gaps is carried along the row (`afterGap`).
std::optional<int> SubsequenceMatcher::score(QStringView text) const
{
    if (m_query.isEmpty())
        return 0;
    text = text.first(std::min(text.size(), longestText));
    if (!containsInOrder(text))
        return std::nullopt;
    const qsizetype length = text.size();
    std::vector<int> previous(std::size_t(length), unreachable);
    std::vector<int> current(std::size_t(length), unreachable);
    for (qsizetype j = 0; j < m_query.size(); ++j) {
        const char16_t letter = m_query.at(j).unicode();
        int afterGap = unreachable;
        for (qsizetype i = 0; i < length; ++i) {
            int best = unreachable;
            if (fold(text.at(i)) == letter) {
                const int own = letterScore + (isWordStart(text, i) ? wordStartBonus : 0);
                if (j == 0) {
                    best = own;
                } else {
                    int before = afterGap;
                    if (i > 0 && previous[std::size_t(i - 1)] > unreachable)
                        before = std::max(before, previous[std::size_t(i - 1)] + consecutiveBonus);
                    if (before > unreachable)
                        best = before + own;
                }
            }
            if (j > 0) {
                // The gap to text[i + 1] grows by one letter; a match at i - 1 opens a new one.
                if (afterGap > unreachable)
                    afterGap -= gapPerLetter;
                if (i > 0 && previous[std::size_t(i - 1)] > unreachable)
                    afterGap = std::max(afterGap, previous[std::size_t(i - 1)] - gapOpening);
            }
            current[std::size_t(i)] = best;
        }
        std::swap(previous, current);
    }
    const int best = *std::max_element(previous.begin(), previous.end());
    if (best <= unreachable)
        return std::nullopt;
    return best;
}

namespace {

// The best score of the query's first j + 1 letters matched with letter j at text position i, for
// every j and i: the whole table, to walk back from the best last letter.
class ScoreTable
{
public:
    ScoreTable(qsizetype letters, qsizetype length)
        : m_length(length), m_cells(std::size_t(letters * length), unreachable)
    {}

    int &operator()(qsizetype j, qsizetype i) { return m_cells[std::size_t(j * m_length + i)]; }
    int operator()(qsizetype j, qsizetype i) const { return m_cells[std::size_t(j * m_length + i)]; }

private:
    qsizetype m_length;
    std::vector<int> m_cells;
};

int gapCost(qsizetype from, qsizetype to)
{
    return SubsequenceMatcher::gapOpening + SubsequenceMatcher::gapPerLetter * int(to - from - 2);
}

int ownScore(QStringView text, qsizetype at)
{
    return SubsequenceMatcher::letterScore +
           (SubsequenceMatcher::isWordStart(text, at) ? SubsequenceMatcher::wordStartBonus : 0);
}

void fillScores(ScoreTable &cell, QStringView query, QStringView text)
{
    using M = SubsequenceMatcher;
    const qsizetype length = text.size();
    for (qsizetype j = 0; j < query.size(); ++j) {
        const char16_t letter = query.at(j).unicode();
        int afterGap = unreachable;
        for (qsizetype i = 0; i < length; ++i) {
            if (j > 0 && i >= 2) {
                if (afterGap > unreachable)
                    afterGap -= M::gapPerLetter;
                if (cell(j - 1, i - 2) > unreachable)
                    afterGap = std::max(afterGap, cell(j - 1, i - 2) - M::gapOpening);
            }
            if (M::fold(text.at(i)) != letter)
                continue;
            const int own = ownScore(text, i);
            if (j == 0) {
                cell(j, i) = own;
                continue;
            }
            int before = afterGap;
            if (i > 0 && cell(j - 1, i - 1) > unreachable)
                before = std::max(before, cell(j - 1, i - 1) + M::consecutiveBonus);
            if (before > unreachable)
                cell(j, i) = before + own;
        }
    }
}

// The positions of the letters of the match whose last letter is at `at`, found by walking back
// through the table the way each score was reached.
QList<qsizetype> walkBack(const ScoreTable &cell, QStringView text, qsizetype letters, qsizetype at)
{
    QList<qsizetype> positions(letters);
    for (qsizetype j = letters - 1; j >= 0; --j) {
        positions[j] = at;
        if (j == 0)
            break;
        const int before = cell(j, at) - ownScore(text, at);
        if (at > 0 && cell(j - 1, at - 1) > unreachable &&
            cell(j - 1, at - 1) + SubsequenceMatcher::consecutiveBonus == before) {
            --at;
            continue;
        }
        qsizetype from = -1;
        for (qsizetype k = at - 2; k >= 0; --k) {
            if (cell(j - 1, k) > unreachable && cell(j - 1, k) - gapCost(k, at) == before) {
                from = k;
                break;
            }
        }
        at = from;
    }
    return positions;
}

} // namespace

std::optional<SubsequenceMatcher::Match> SubsequenceMatcher::match(QStringView text) const
{
    if (m_query.isEmpty())
        return Match{};
    text = text.first(std::min(text.size(), longestText));
    if (!containsInOrder(text))
        return std::nullopt;
    const qsizetype letters = m_query.size();
    ScoreTable cell(letters, text.size());
    fillScores(cell, m_query, text);
    // Of equal matches the one ending last: in a path, the file's name rather than a folder's.
    qsizetype at = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (cell(letters - 1, i) > unreachable && (at < 0 || cell(letters - 1, i) >= cell(letters - 1, at)))
            at = i;
    }
    if (at < 0)
        return std::nullopt;
    return Match{cell(letters - 1, at), walkBack(cell, text, letters, at)};
}

} // namespace kestrune
