#include "text/searchpattern.h"

#include "text/linebreaks.h"

#include <algorithm>

namespace kestrune {

namespace {

// Letters, digits, combining marks and the connector punctuation (underscore) make up words.
bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c.category() == QChar::Punctuation_Connector;
}

bool holdsLineBreak(QStringView text)
{
    return std::any_of(text.begin(), text.end(), LineBreaks::isLineBreak);
}

} // namespace

SearchPattern::SearchPattern(const QString &text, SearchOptions options) : m_text(text), m_options(options)
{
    if (m_options.regularExpression) {
        QRegularExpression::PatternOptions patternOptions =
            QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption;
        if (!m_options.caseSensitive)
            patternOptions |= QRegularExpression::CaseInsensitiveOption;
        // CR, LF and CR LF all end a line for ^ and $, as they do for the search's lines.
        const QLatin1String lineBreaks("(*ANYCRLF)");
        m_expression = QRegularExpression(lineBreaks + text, patternOptions);
        if (!m_expression.isValid()) {
            m_errorMessage = m_expression.errorString();
            m_errorOffset =
                std::clamp<qsizetype>(m_expression.patternErrorOffset() - lineBreaks.size(), 0, text.size());
            m_errorString = QStringLiteral("%1 at offset %2").arg(m_errorMessage).arg(m_errorOffset);
        }
    } else {
        m_matchesNothing = holdsLineBreak(text);
    }
}

bool SearchPattern::isWholeWord(QStringView text, qsizetype start, qsizetype length) const
{
    const qsizetype end = start + length;
    if (start > 0 && isWordCharacter(text[start - 1]) && isWordCharacter(text[start]))
        return false;
    if (end < text.size() && isWordCharacter(text[end]) && isWordCharacter(text[end - 1]))
        return false;
    return true;
}

QList<TextMatch> SearchPattern::matchesIn(QStringView text) const
{
    QList<TextMatch> matches;
    forEachMatch(text, [&matches](const TextMatch &match) {
        matches.append(match);
        return true;
    });
    return matches;
}

qsizetype SearchPattern::matchCountIn(QStringView text) const
{
    qsizetype count = 0;
    forEachMatch(text, [&count](const TextMatch &) {
        ++count;
        return true;
    });
    return count;
}

void SearchPattern::forEachMatch(QStringView text, const std::function<bool(const TextMatch &)> &visit) const
{
    if (m_text.isEmpty() || !isValid() || m_matchesNothing)
        return;
    if (m_options.regularExpression)
        forEachExpressionMatch(text, visit);
    else
        forEachPlainMatch(text, visit);
}

void SearchPattern::forEachPlainMatch(QStringView text,
                                      const std::function<bool(const TextMatch &)> &visit) const
{
    const Qt::CaseSensitivity sensitivity = m_options.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const qsizetype length = m_text.size();
    for (qsizetype at = text.indexOf(m_text, 0, sensitivity); at >= 0;) {
        if (m_options.wholeWord && !isWholeWord(text, at, length)) {
            at = text.indexOf(m_text, at + 1, sensitivity);
            continue;
        }
        if (!visit(TextMatch{at, length}))
            return;
        at = text.indexOf(m_text, at + length, sensitivity);
    }
}

// The expression runs over the whole text at once, which is far quicker than line by line; a match
// that crosses a line break sends the search back to that one line, so what it finds there is
// exactly what a search of the line alone finds.
void SearchPattern::forEachExpressionMatch(QStringView text,
                                           const std::function<bool(const TextMatch &)> &visit) const
{
    qsizetype from = 0;
    while (from <= text.size()) {
        const QRegularExpressionMatch match = m_expression.match(text, from);
        if (!match.hasMatch())
            return;
        const qsizetype start = match.capturedStart();
        const qsizetype length = match.capturedLength();
        if (length == 0) {
            from = start + 1;
            continue;
        }
        if (holdsLineBreak(text.sliced(start, length))) {
            const qsizetype lineBegin = LineBreaks::lineStart(text, start);
            const qsizetype lineStop = LineBreaks::lineEnd(text, start);
            if (!forEachExpressionMatchInLine(text.sliced(lineBegin, lineStop - lineBegin), lineBegin,
                                              start - lineBegin, visit))
                return;
            from = lineStop + std::max<qsizetype>(1, LineBreaks::lengthAt(text, lineStop));
            continue;
        }
        from = start + length;
        if (m_options.wholeWord && !isWholeWord(text, start, length))
            continue;
        if (!visit(TextMatch{start, length}))
            return;
    }
}

bool SearchPattern::forEachExpressionMatchInLine(QStringView line, qsizetype lineStart, qsizetype from,
                                                 const std::function<bool(const TextMatch &)> &visit) const
{
    QRegularExpressionMatchIterator it = m_expression.globalMatch(line, from);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const qsizetype length = match.capturedLength();
        if (length == 0)
            continue;
        const qsizetype start = match.capturedStart();
        if (m_options.wholeWord && !isWholeWord(line, start, length))
            continue;
        if (!visit(TextMatch{lineStart + start, length}))
            return false;
    }
    return true;
}

} // namespace kestrune
