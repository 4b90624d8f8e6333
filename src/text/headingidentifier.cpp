#include "text/headingidentifier.h"

#include <QStringList>

namespace kestrune {

namespace {

// The length of the run of `c` starting at `from`.
qsizetype runLength(QStringView text, qsizetype from, QChar c)
{
    qsizetype end = from;
    while (end < text.size() && text.at(end) == c)
        ++end;
    return end - from;
}

// Where a "(destination)" after a link's "]" ends (just past the ")"), or -1.
qsizetype destinationEnd(QStringView text, qsizetype open)
{
    if (open >= text.size() || text.at(open) != u'(')
        return -1;
    int depth = 0;
    for (qsizetype index = open; index < text.size(); ++index) {
        if (text.at(index) == u'(')
            ++depth;
        else if (text.at(index) == u')' && --depth == 0)
            return index + 1;
    }
    return -1;
}

// Where a "<...>" starting at `open` ends (just past the ">"), or -1; whether it is an autolink.
qsizetype angleEnd(QStringView text, qsizetype open, bool &isAutolink)
{
    const qsizetype close = text.indexOf(u'>', open + 1);
    if (close < 0 || close == open + 1)
        return -1;
    const QStringView inside = text.sliced(open + 1, close - open - 1);
    if (inside.contains(u' ') && !inside.front().isLetter() && inside.front() != u'/')
        return -1;
    isAutolink = !inside.contains(u' ') && (inside.contains(u':') || inside.contains(u'@'));
    if (!isAutolink && !(inside.front().isLetter() || inside.front() == u'/' || inside.front() == u'!'))
        return -1;
    return close + 1;
}

bool isPunctuationEntity(QStringView text)
{
    for (const char16_t *name : {u"&amp;", u"&lt;", u"&gt;", u"&quot;", u"&apos;", u"&nbsp;"}) {
        if (text.startsWith(QStringView(name)))
            return true;
    }
    return false;
}

} // namespace

QString HeadingIdentifier::plainText(QStringView line)
{
    QString text;
    qsizetype index = 0;
    while (index < line.size()) {
        const QChar c = line.at(index);
        if (c == u'\\' && index + 1 < line.size() && line.at(index + 1).isPunct()) {
            text += line.at(index + 1);
            index += 2;
        } else if (c == u'`') {
            const qsizetype ticks = runLength(line, index, c);
            const QString fence(ticks, c);
            const qsizetype close = line.indexOf(fence, index + ticks);
            if (close < 0) {
                text += fence;
                index += ticks;
            } else {
                text += line.sliced(index + ticks, close - index - ticks);
                index = close + ticks;
            }
        } else if (c == u']') {
            // The text of a link or image stays; its destination goes.
            const qsizetype end = destinationEnd(line, index + 1);
            index = end < 0 ? index + 1 : end;
            if (end < 0)
                text += c;
        } else if (c == u'<') {
            bool isAutolink = false;
            const qsizetype end = angleEnd(line, index, isAutolink);
            if (end < 0) {
                text += c;
                ++index;
            } else {
                if (isAutolink)
                    text += line.sliced(index + 1, end - index - 2);
                index = end;
            }
        } else if (c == u'&' && index + 2 < line.size() && line.at(index + 1) == u'#') {
            const qsizetype semicolon = line.indexOf(u';', index);
            bool ok = false;
            uint code = 0;
            if (semicolon > index + 2 && semicolon - index <= 10) {
                const QStringView digits = line.sliced(index + 2, semicolon - index - 2);
                code = digits.startsWith(u'x', Qt::CaseInsensitive) ? digits.sliced(1).toUInt(&ok, 16)
                                                                    : digits.toUInt(&ok, 10);
            }
            if (ok && code > 0 && code <= 0x10FFFF) {
                text += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
                index = semicolon + 1;
            } else {
                text += c;
                ++index;
            }
        } else if (c == u'&' && isPunctuationEntity(line.sliced(index))) {
            // "&amp;" and its kind stand for a character that is no letter.
            text += QLatin1Char(' ');
            index = line.indexOf(u';', index) + 1;
        } else {
            text += c;
            ++index;
        }
    }
    return text;
}

QString HeadingIdentifier::of(QStringView line)
{
    line = line.trimmed();
    while (line.startsWith(u'#'))
        line = line.sliced(1);
    return fromPlainText(plainText(line));
}

QString HeadingIdentifier::fromPlainText(QStringView text)
{
    QStringList pieces;
    QString piece;
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            piece += c;
        } else if (!piece.isEmpty()) {
            pieces.append(piece.toLower());
            piece.clear();
        }
    }
    if (!piece.isEmpty())
        pieces.append(piece.toLower());
    return pieces.join(QLatin1Char('-'));
}

} // namespace kestrune
