#pragma once

#include "markdown/document/blocknode.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace kestrune {

// Parses a long Markdown text in pieces, one piece a call, so that the view shows the first
// screen at once and the rest arrives between events. A text no longer than two pieces is
// parsed whole. Each piece is parsed knowing the line it starts on, so its blocks carry their
// lines in the whole text.
//
// When parsing runs out of memory the feed stops: what was parsed stays, nothing more comes.
// The pieces are views into the text the feed keeps, which is why it is not copied.
class IncrementalMarkdownFeed
{
public:
    IncrementalMarkdownFeed() = default;
    explicit IncrementalMarkdownFeed(const QString &markdown);
    IncrementalMarkdownFeed(const IncrementalMarkdownFeed &) = delete;
    IncrementalMarkdownFeed &operator=(const IncrementalMarkdownFeed &) = delete;

    // Whether pieces are left to parse.
    bool hasMore() const { return !m_pieces.isEmpty(); }
    // Parses the next piece: its blocks, or none when parsing failed (the feed then stops).
    std::optional<QList<BlockNode>> parseNext();
    // How much taller the whole text is expected to be than its parsed part (1 when all of it
    // is parsed), judged by the share of the text parsed so far.
    qreal heightScale() const;

private:
    static std::optional<QList<BlockNode>> parsePiece(QStringView piece, int firstLine);

    QString m_text; // kept while pieces are left, which are views into it
    QList<QStringView> m_pieces;
    int m_line = 0; // the line of the text the next piece starts on
};

} // namespace kestrune
