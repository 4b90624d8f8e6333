#include "review/textdiff.h"

#include "text/rawvaluetable.h"

#include <QHash>

#include <algorithm>
#include <utility>
#include <vector>

namespace kestrune {

namespace {

constexpr RawValueTable<DiffOperation, 3> rawValues({{
    {DiffOperation::equal, "equal"},
    {DiffOperation::insert, "insert"},
    {DiffOperation::remove, "delete"},
}});

// The longest edit script looked for. Its search takes memory in the square of the edits, so a
// larger difference (a requirement rewritten from scratch, a hostile file) is not searched: its
// lines, or failing that the whole texts, are shown as replaced.
constexpr qsizetype longestEditScript = 2000;

enum class Step : quint8
{
    keep,
    remove,
    insert,
};

// A shortest edit script turning `a` into `b` (Myers' greedy algorithm); nothing when it needs
// more than longestEditScript edits.
std::optional<std::vector<Step>> shortestEditScript(const std::vector<int> &a, const std::vector<int> &b)
{
    const int *x0 = a.data();
    const int *y0 = b.data();
    const auto width = qsizetype(a.size());
    const auto height = qsizetype(b.size());

    // furthest[k] is the furthest x reached on diagonal k = x - y; trace keeps, for every number
    // of edits d, those of diagonals -d to d (at index d * d + d + k) to walk the script back.
    const qsizetype limit = std::min(width + height, longestEditScript);
    const qsizetype offset = limit + 1;
    std::vector<qsizetype> furthest(size_t(2 * limit + 3), 0);
    std::vector<qint32> trace;
    qsizetype edits = -1;
    for (qsizetype d = 0; d <= limit && edits < 0; ++d) {
        for (qsizetype k = -d; k <= d; k += 2) {
            const bool down = k == -d || (k != d && furthest[offset + k - 1] < furthest[offset + k + 1]);
            qsizetype x = down ? furthest[offset + k + 1] : furthest[offset + k - 1] + 1;
            qsizetype y = x - k;
            while (x < width && y < height && x0[x] == y0[y]) {
                ++x;
                ++y;
            }
            furthest[offset + k] = x;
            if (x >= width && y >= height)
                edits = d;
        }
        trace.insert(trace.end(), furthest.begin() + offset - d, furthest.begin() + offset + d + 1);
    }
    if (edits < 0)
        return std::nullopt;

    std::vector<Step> steps; // built backwards
    qsizetype x = width;
    qsizetype y = height;
    for (qsizetype d = edits; d > 0; --d) {
        const qsizetype k = x - y;
        const auto previous = [&](qsizetype diagonal) { return qsizetype(trace[(d - 1) * d + diagonal]); };
        const bool down = k == -d || (k != d && previous(k - 1) < previous(k + 1));
        const qsizetype previousX = previous(down ? k + 1 : k - 1);
        const qsizetype snakeStart = down ? previousX : previousX + 1;
        for (; x > snakeStart; --x, --y)
            steps.push_back(Step::keep);
        if (down) {
            steps.push_back(Step::insert);
            --y;
        } else {
            steps.push_back(Step::remove);
            --x;
        }
    }
    steps.insert(steps.end(), size_t(x), Step::keep);
    std::reverse(steps.begin(), steps.end());
    return steps;
}

bool isWhiteSpace(QStringView token)
{
    return std::all_of(token.begin(), token.end(), [](QChar c) { return c.isSpace(); });
}

// Words and the runs of white space between them.
QList<QStringView> wordTokens(QStringView text)
{
    QList<QStringView> tokens;
    qsizetype start = 0;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        if (i == text.size() || text[i].isSpace() != text[i - 1].isSpace()) {
            tokens.append(text.sliced(start, i - start));
            start = i;
        }
    }
    return tokens;
}

// Lines, each with its "\n".
QList<QStringView> lineTokens(QStringView text)
{
    QList<QStringView> tokens;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype newline = text.indexOf(u'\n', start);
        const qsizetype end = newline < 0 ? text.size() : newline + 1;
        tokens.append(text.sliced(start, end - start));
        start = end;
    }
    return tokens;
}

// What of a token is compared: white space at the end of a line is not. A word token of white
// space that holds a line break is compared from the break on.
QStringView comparedPart(QStringView token, bool words)
{
    if (words) {
        const qsizetype lineBreak = token.indexOf(u'\n');
        return lineBreak > 0 && token.front().isSpace() ? token.sliced(lineBreak) : token;
    }
    qsizetype end = token.size() - (token.endsWith(u'\n') ? 1 : 0);
    while (end > 0 && token[end - 1].isSpace())
        --end;
    return token.first(end);
}

// The same number for tokens compared equal, in both texts.
class TokenIds
{
public:
    explicit TokenIds(bool words) : m_words(words) {}

    std::vector<int> of(const QList<QStringView> &tokens, qsizetype first, qsizetype count)
    {
        std::vector<int> ids;
        ids.reserve(size_t(count));
        for (qsizetype i = first; i < first + count; ++i) {
            const QStringView token = comparedPart(tokens.at(i), m_words);
            auto found = m_ids.constFind(token);
            if (found == m_ids.constEnd())
                found = m_ids.insert(token, int(m_ids.size()));
            ids.push_back(found.value());
        }
        return ids;
    }

private:
    bool m_words;
    QHash<QStringView, int> m_ids;
};

// Gathers the hunks of an edit script. Each run of changes becomes one removal followed by one
// insertion; with `joinSpaces`, white space on one line between two changes joins them.
class HunkBuilder
{
public:
    explicit HunkBuilder(bool joinSpaces) : m_joinSpaces(joinSpaces) {}

    void keep(QStringView token)
    {
        if (hasChanges() && m_joinSpaces && isWhiteSpace(token) && !token.contains(u'\n') &&
            m_heldSpace.isEmpty()) {
            m_heldSpace = token.toString();
            return;
        }
        flushChanges();
        appendEqual(token);
    }

    void change(DiffOperation operation, QStringView token)
    {
        if (!m_heldSpace.isEmpty()) {
            m_removed += m_heldSpace;
            m_inserted += m_heldSpace;
            m_heldSpace.clear();
        }
        (operation == DiffOperation::remove ? m_removed : m_inserted) += token;
    }

    QList<DiffHunk> finish()
    {
        flushChanges();
        return std::move(m_hunks);
    }

private:
    bool hasChanges() const { return !m_removed.isEmpty() || !m_inserted.isEmpty(); }

    void flushChanges()
    {
        if (!m_removed.isEmpty())
            m_hunks.append({DiffOperation::remove, std::exchange(m_removed, {})});
        if (!m_inserted.isEmpty())
            m_hunks.append({DiffOperation::insert, std::exchange(m_inserted, {})});
        if (!m_heldSpace.isEmpty())
            appendEqual(std::exchange(m_heldSpace, {}));
    }

    void appendEqual(QStringView token)
    {
        if (m_hunks.isEmpty() || m_hunks.last().operation != DiffOperation::equal)
            m_hunks.append({DiffOperation::equal, QString()});
        m_hunks.last().text += token;
    }

    bool m_joinSpaces;
    QList<DiffHunk> m_hunks;
    QString m_removed;
    QString m_inserted;
    QString m_heldSpace;
};

// The hunks of the tokens' edit script; nothing when the script is too long to search or, for
// `words`, when more than half of the words differ.
std::optional<QList<DiffHunk>> tokenDiff(const QList<QStringView> &before, const QList<QStringView> &after,
                                         bool words)
{
    // The common beginning and end are set aside before the tokens are numbered: a requirement
    // that was edited shares most of its text.
    const auto same = [words](QStringView x, QStringView y) {
        return comparedPart(x, words) == comparedPart(y, words);
    };
    const qsizetype n = before.size();
    const qsizetype m = after.size();
    qsizetype prefix = 0;
    while (prefix < n && prefix < m && same(before.at(prefix), after.at(prefix)))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix &&
           same(before.at(n - 1 - suffix), after.at(m - 1 - suffix)))
        ++suffix;
    TokenIds ids(words);
    const std::optional<std::vector<Step>> middle = shortestEditScript(
        ids.of(before, prefix, n - prefix - suffix), ids.of(after, prefix, m - prefix - suffix));
    if (!middle)
        return std::nullopt;
    std::vector<Step> steps(size_t(prefix), Step::keep);
    steps.insert(steps.end(), middle->begin(), middle->end());
    steps.insert(steps.end(), size_t(suffix), Step::keep);

    HunkBuilder builder(words);
    qsizetype changedWords = 0;
    qsizetype ia = 0;
    qsizetype ib = 0;
    for (Step step : steps) {
        switch (step) {
        case Step::keep:
            builder.keep(after.at(ib++));
            ++ia;
            break;
        case Step::remove:
            changedWords += !isWhiteSpace(before.at(ia));
            builder.change(DiffOperation::remove, before.at(ia++));
            break;
        case Step::insert:
            changedWords += !isWhiteSpace(after.at(ib));
            builder.change(DiffOperation::insert, after.at(ib++));
            break;
        }
    }
    if (words) {
        const auto countWords = [](const QList<QStringView> &tokens) {
            return std::count_if(tokens.begin(), tokens.end(),
                                 [](QStringView token) { return !isWhiteSpace(token); });
        };
        if (changedWords * 2 > countWords(before) + countWords(after))
            return std::nullopt;
    }
    return builder.finish();
}

} // namespace

QString rawValue(DiffOperation operation)
{
    return rawValues.rawValue(operation);
}

std::optional<DiffOperation> diffOperationFromRawValue(QStringView raw)
{
    return rawValues.fromRawValue(raw);
}

TextDiff TextDiff::compare(QStringView before, QStringView after)
{
    TextDiff diff;
    if (std::optional<QList<DiffHunk>> hunks = tokenDiff(wordTokens(before), wordTokens(after), true)) {
        diff.hunks = std::move(*hunks);
        return diff;
    }
    diff.granularity = Granularity::lines;
    if (std::optional<QList<DiffHunk>> hunks = tokenDiff(lineTokens(before), lineTokens(after), false)) {
        diff.hunks = std::move(*hunks);
        return diff;
    }
    if (!before.isEmpty())
        diff.hunks.append({DiffOperation::remove, before.toString()});
    if (!after.isEmpty())
        diff.hunks.append({DiffOperation::insert, after.toString()});
    return diff;
}

} // namespace kestrune
