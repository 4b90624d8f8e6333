#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/nodes/layouttextcontent_p.h"
#include "markdown/layout/text/layouttextcache_p.h"
#include "markdown/layout/text/styledtext.h"
#include "markdown/layout/text/textlinebreaker_p.h"

#include "ui/dynamiccolor.h"

#include <QFont>
#include <QList>
#include <QTextLayout>
#include <QUrl>

#include <memory>
#include <optional>
#include <vector>

namespace kestrune {

class LayoutFontCache;

// One styled text laid out with QTextLayout: a paragraph, a heading, a table cell, a code
// block or a marker. Fonts, lines and letter spacing are fixed when the text is set; colours
// stay appearance-dependent and are applied while painting, so an appearance switch only
// repaints.
class LayoutTextNode : public LayoutNode
{
public:
    struct Options
    {
        qreal lineSpacing = 0;
        bool wraps = true;
        qreal devicePixelRatio = 1;
        // Keeps the layouts of recently used texts; without one the layout is kept for good.
        LayoutTextCache *cache = nullptr;
    };

    LayoutTextNode(const StyledText &text, const Options &options, LayoutFontCache &fonts);
    ~LayoutTextNode() override;

    // Drops the shaped text and its lines; they are made again when needed.
    void releaseLayout() const;
    // This node's place in its cache's recency list.
    LayoutTextCache::Link &cacheLink() { return m_cacheLink; }

    // Replaces the text (inline images that arrived), keeping the options.
    void setText(const StyledText &text, LayoutFontCache &fonts);

    // Position among the selectable texts of the document; -1 when not selectable.
    int documentIndex() const { return m_documentIndex; }
    void setDocumentIndex(int index) { m_documentIndex = index; }
    // The identifier of a heading, for links to "#identifier".
    const QString &identifier() const { return m_identifier; }
    void setIdentifier(const QString &identifier) { m_identifier = identifier; }

    // Length of the text in positions (cursor positions run from 0 to length()).
    int length() const { return m_content.length(); }
    // The text between two positions as a reader copies it: line breaks as line feeds, the
    // characters that hold images and break opportunities left out.
    QString plainText(int from = 0, int to = -1) const { return m_content.plainText(from, to); }
    // The cursor position nearest to a point in node coordinates.
    int cursorAt(QPointF point) const;
    // The word around a position, as [start, end).
    std::pair<int, int> wordAt(int position) const { return m_content.wordAt(position); }
    // Where each laid-out line starts and how many positions it holds.
    QList<std::pair<int, int>> lineRanges() const;
    // The text as it is laid out: line breaks as U+2028, and a zero width
    // space wherever a very long word got a break opportunity.
    const QString &layoutText() const { return m_content.text; }
    // The text with its formats, colours and links, as it was prepared for layout.
    const LayoutTextContent &content() const { return m_content; }
    std::optional<QUrl> linkAt(QPointF point) const;
    // A link of the text, as [start, end) positions.
    struct LinkRange
    {
        int start = 0;
        int end = 0;
        QUrl url;
    };
    QList<LinkRange> linkRanges() const;
    // The positions of the characters that hold pictures, in order.
    QList<int> imagePositions() const;
    // The matches of a find in the text as a reader sees it, as [start, end) positions; a
    // match may span the breaks inserted into very long words.
    QList<std::pair<int, int>> findMatches(const SearchPattern &query) const
    {
        return m_content.findMatches(query);
    }
    // Where a position's character sits (for scrolling to it).
    QRectF cursorRect(int position) const;

    qreal firstBaseline() const override;
    // The widest word; a text that does not wrap, its whole width.
    qreal minimumWidth() override;
    void paint(LayoutPaintContext &context) const override;
    void hitTest(QPointF point, LayoutHit &hit) override;

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override { return "text"; }
    QString dumpDetails() const override;

private:
    using ColorRun = LayoutTextContent::ColorRun;
    using Image = LayoutTextContent::Image;
    using LinkRun = LayoutTextContent::LinkRun;

    void ensureLayout() const;
    // The shaped strip the line breaker cuts lines from, made again if it was released.
    const QTextLayout *strip() const;
    QSizeF breakLines(qreal width);
    // The colours, find matches and selection painting lays over the text, `base` its colour.
    QList<QTextLayout::FormatRange> paintedRanges(const LayoutPaintContext &context, QColor base) const;
    void paintBrokenLines(LayoutPaintContext &context, const QTextLayout &strip,
                          const QList<QTextLayout::FormatRange> &ranges) const;
    // The broken line showing a position.
    const TextLineBreaker::Line *brokenLineAt(int position) const;
    // The layout with its lines at the measured width, made again if it was released.
    const QTextLayout *lines() const;
    QSizeF layoutLines(qreal width) const;
    // Whether lines laid out at `width` would break exactly as they do now.
    bool breaksLinesAlikeAt(qreal width) const;
    qreal imageHeightOnLine(const QTextLine &line) const;

    LayoutTextContent m_content; // the text, its formats, colours, links and pictures
    Options m_options;
    // Wrapping texts are broken into lines by the breaker when it takes them
    // (m_layout is then its unwrapped strip), by QTextLayout otherwise.
    std::unique_ptr<TextLineBreaker> m_breaker;
    bool m_breakerTried = false;
    std::vector<TextLineBreaker::Line> m_brokenLines;
    mutable std::unique_ptr<QTextLayout> m_layout;
    qreal m_measuredWidth = -1;
    qreal m_widestWord = -1; // measured when first asked
    mutable qreal m_firstBaseline = -1;
    mutable int m_lineCount = 0;
    mutable qreal m_widestLine = 0;
    int m_documentIndex = -1;
    LayoutTextCache::Link m_cacheLink;
    QString m_identifier;
};

} // namespace kestrune
