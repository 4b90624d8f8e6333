#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringView>

#include <functional>

namespace kestrune {

// How a search reads its text: case-insensitive by default, optionally only whole words, optionally
// as a regular expression.
struct SearchOptions
{
    bool caseSensitive = false;
    bool wholeWord = false;
    bool regularExpression = false;

    friend bool operator==(const SearchOptions &, const SearchOptions &) = default;
};

// Where one match lies in the text it was found in, in UTF-16 code units.
struct TextMatch
{
    qsizetype start = 0;
    qsizetype length = 0;

    qsizetype end() const { return start + length; }
    friend bool operator==(const TextMatch &, const TextMatch &) = default;
};

// What a reader searches for: a piece of text or a regular expression, with its options. Matches
// lie within one line: a match never spans a line break, and a regular expression is run line by
// line (so ^ and $ are the ends of a line). Letter case is compared as Qt compares it (simple case
// folding: "ä" finds "Ä", "ß" does not find "SS"). Empty matches of an expression are skipped.
// A plain value, cheap to copy; an invalid expression matches nothing and says why.
class SearchPattern
{
public:
    SearchPattern() = default;
    SearchPattern(const QString &text, SearchOptions options = {});

    const QString &text() const { return m_text; }
    const SearchOptions &options() const { return m_options; }
    bool isEmpty() const { return m_text.isEmpty(); }
    // False for a regular expression that does not compile; errorString says why.
    bool isValid() const { return m_errorString.isEmpty(); }
    // The expression's error with where it is ("missing ) at offset 4"); empty when valid.
    const QString &errorString() const { return m_errorString; }
    // The expression's error as the expression engine words it (in English), without its place;
    // empty when valid. A view shows it in its own words (InvalidExpressionText).
    const QString &errorMessage() const { return m_errorMessage; }
    // Where in the text the expression fails, in UTF-16 code units from 0; -1 when valid.
    qsizetype errorOffset() const { return m_errorOffset; }

    // The matches in a text, in order, never overlapping and never across a line break.
    QList<TextMatch> matchesIn(QStringView text) const;
    qsizetype matchCountIn(QStringView text) const;

    // Calls visit(match) for every match in the text, in order; stops once visit returns false.
    void forEachMatch(QStringView text, const std::function<bool(const TextMatch &)> &visit) const;

    friend bool operator==(const SearchPattern &a, const SearchPattern &b)
    {
        return a.m_text == b.m_text && a.m_options == b.m_options;
    }

private:
    bool isWholeWord(QStringView text, qsizetype start, qsizetype length) const;
    void forEachPlainMatch(QStringView text, const std::function<bool(const TextMatch &)> &visit) const;
    void forEachExpressionMatch(QStringView text, const std::function<bool(const TextMatch &)> &visit) const;
    bool forEachExpressionMatchInLine(QStringView text, qsizetype lineStart, qsizetype from,
                                      const std::function<bool(const TextMatch &)> &visit) const;

    QString m_text;
    SearchOptions m_options;
    QRegularExpression m_expression;
    QString m_errorString;
    QString m_errorMessage;
    qsizetype m_errorOffset = -1;
    bool m_matchesNothing = false; // a plain text holding a line break
};

} // namespace kestrune
