#include "markdown/layout/document/markdownchunker_p.h"

#include "text/linebreaks.h"

#include <algorithm>

namespace kestrune {

namespace {

struct Fence
{
    QChar character;
    qsizetype length = 0;
};

// The opening or closing fence a line is: up to three spaces, then three or more backticks
// or tildes.
std::optional<Fence> fenceOf(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && i < 3 && line[i] == QLatin1Char(' '))
        ++i;
    if (i >= line.size() || (line[i] != QLatin1Char('`') && line[i] != QLatin1Char('~')))
        return std::nullopt;
    const QChar c = line[i];
    qsizetype length = 0;
    while (i < line.size() && line[i] == c) {
        ++i;
        ++length;
    }
    if (length < 3)
        return std::nullopt;
    return Fence{c, length};
}

bool isAtxHeading(QStringView line)
{
    qsizetype hashes = 0;
    while (hashes < line.size() && line[hashes] == QLatin1Char('#'))
        ++hashes;
    return hashes >= 1 && hashes <= 6 &&
           (hashes == line.size() || line[hashes] == QLatin1Char(' ') || line[hashes] == QLatin1Char('\t'));
}

// The end marker of a raw HTML block that may hold blank lines, when the line opens one.
QString rawBlockEnd(QStringView line)
{
    QStringView trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.front() != QLatin1Char('<'))
        return {}; // most lines: nothing to build
    if (trimmed.startsWith(u"<!--"))
        return QStringLiteral("-->");
    for (const char *tag : {"pre", "script", "style", "textarea"}) {
        const QString open = QLatin1Char('<') + QLatin1String(tag);
        if (trimmed.startsWith(open, Qt::CaseInsensitive) &&
            (trimmed.size() == open.size() || trimmed[open.size()] == QLatin1Char('>') ||
             trimmed[open.size()].isSpace()))
            return QStringLiteral("</") + QLatin1String(tag) + QLatin1Char('>');
    }
    return {};
}

// Whether some line may define a footnote ("[^label]: ..."). Notes are numbered and gathered
// over the whole text, so a text with any is never split.
bool mayDefineFootnotes(QStringView text)
{
    for (qsizetype at = text.indexOf(u"[^"); at >= 0; at = text.indexOf(u"[^", at + 2)) {
        const qsizetype lineEnd = LineBreaks::lineEnd(text, at);
        if (text.mid(at, lineEnd - at).contains(u"]:"))
            return true;
    }
    return false;
}

} // namespace

QList<QStringView> MarkdownChunker::split(QStringView text, qsizetype minimumSize, qsizetype firstMinimumSize)
{
    if (firstMinimumSize < 0)
        firstMinimumSize = minimumSize;
    QList<QStringView> pieces;
    if (mayDefineFootnotes(text))
        return {text};
    qsizetype pieceStart = 0;
    std::optional<Fence> openFence;
    QString rawEnd;
    qsizetype lineStart = 0;
    while (lineStart < text.size()) {
        const qsizetype lineEnd = LineBreaks::lineEnd(text, lineStart);
        const QStringView line = text.mid(lineStart, lineEnd - lineStart);

        if (!rawEnd.isEmpty()) {
            if (line.contains(rawEnd, Qt::CaseInsensitive))
                rawEnd.clear();
        } else if (openFence) {
            const std::optional<Fence> fence = fenceOf(line);
            if (fence && fence->character == openFence->character && fence->length >= openFence->length &&
                line.trimmed().size() == fence->length)
                openFence.reset();
        } else if (const std::optional<Fence> fence = fenceOf(line)) {
            openFence = fence;
        } else if (isAtxHeading(line) &&
                   lineStart - pieceStart >= (pieces.isEmpty() ? firstMinimumSize : minimumSize)) {
            pieces.append(text.mid(pieceStart, lineStart - pieceStart));
            pieceStart = lineStart;
        } else {
            rawEnd = rawBlockEnd(line);
            if (!rawEnd.isEmpty() && line.trimmed().size() > 4 &&
                line.contains(rawEnd, Qt::CaseInsensitive) &&
                line.indexOf(rawEnd, 0, Qt::CaseInsensitive) > line.indexOf(QLatin1Char('<')))
                rawEnd.clear(); // opened and closed on one line
        }
        lineStart = lineEnd + std::max<qsizetype>(1, LineBreaks::lengthAt(text, lineEnd));
    }
    if (pieceStart < text.size() || pieces.isEmpty())
        pieces.append(text.mid(pieceStart));
    return pieces;
}

} // namespace kestrune
