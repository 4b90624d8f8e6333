#include "markdown/layout/view/incrementalmarkdownfeed_p.h"

#include "markdown/document/markdownparser.h"
#include "markdown/layout/document/markdownchunker_p.h"
#include "text/linebreaks.h"

#include <new>

namespace kestrune {

namespace {

// Texts longer than this are parsed in pieces of about this size.
constexpr qsizetype parsePieceSize = 128 * 1024;
// The first piece is parsed while the window waits to show the first screen: a smaller one.
constexpr qsizetype firstParsePieceSize = 24 * 1024;

} // namespace

IncrementalMarkdownFeed::IncrementalMarkdownFeed(const QString &markdown) : m_text(markdown)
{
    m_pieces = markdown.size() > 2 * parsePieceSize
                   ? MarkdownChunker::split(m_text, parsePieceSize, firstParsePieceSize)
                   : QList<QStringView>{QStringView(m_text)};
}

std::optional<QList<BlockNode>> IncrementalMarkdownFeed::parseNext()
{
    if (m_pieces.isEmpty())
        return std::nullopt;
    const QStringView piece = m_pieces.takeFirst();
    std::optional<QList<BlockNode>> blocks = parsePiece(piece, m_line);
    if (blocks)
        m_line += LineBreaks::count(piece);
    else
        m_pieces.clear();
    if (m_pieces.isEmpty())
        m_text.clear();
    return blocks;
}

qreal IncrementalMarkdownFeed::heightScale() const
{
    if (m_pieces.isEmpty() || m_text.isEmpty())
        return 1;
    qsizetype remaining = 0;
    for (QStringView piece : m_pieces)
        remaining += piece.size();
    const qsizetype parsed = m_text.size() - remaining;
    return parsed > 0 ? qreal(m_text.size()) / qreal(parsed) : 1;
}

std::optional<QList<BlockNode>> IncrementalMarkdownFeed::parsePiece(QStringView piece, int firstLine)
{
    try {
        return MarkdownParser::parse(piece.toString(), firstLine);
    } catch (const std::bad_alloc &) {
        return std::nullopt; // out of memory: the page keeps what it has, and no more is parsed
    }
}

} // namespace kestrune
