#include "markdown/layout/nodes/layouttextnode_p.h"

#include "markdown/layout/text/layoutfontcache_p.h"
#include "markdown/layout/text/layouttextcache_p.h"
#include "markdown/layout/text/longwordsplitter_p.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kestrune {

namespace {

constexpr qreal unwrappedLineWidth = 1.0e6;
// Wrapping anywhere into a line narrower than this would put every character or two on a line
// of its own: as many lines as characters, each as costly to lay out as a full one.
constexpr qreal narrowestWrappedLine = 48;
constexpr int tabWidthInSpaces = 4;

} // namespace

LayoutTextNode::LayoutTextNode(const StyledText &text, const Options &options, LayoutFontCache &fonts)
    : m_options(options)
{
    setText(text, fonts);
}

LayoutTextNode::~LayoutTextNode()
{
    // A node the list has forgotten may outlive the list (see LayoutNodeDisposal).
    if (m_options.cache && m_cacheLink.listed)
        m_options.cache->remove(this);
}

void LayoutTextNode::releaseLayout() const
{
    m_layout.reset();
}

void LayoutTextNode::setText(const StyledText &text, LayoutFontCache &fonts)
{
    if (m_options.cache)
        m_options.cache->remove(this); // before the length changes
    m_content = LayoutTextContent(text, fonts, m_options.devicePixelRatio);
    m_breaker.reset();
    m_breakerTried = false;
    m_brokenLines.clear();
    m_layout.reset();
    m_measuredWidth = -1; // the lines of the old text say nothing about the new one
    m_widestWord = -1;
    m_lineCount = 0;
    invalidate();
}

void LayoutTextNode::ensureLayout() const
{
    if (m_layout)
        return;
    m_layout = std::make_unique<QTextLayout>(m_content.text, m_content.font);
    QTextOption option;
    // Until the breaker has had its chance, the layout is its strip.
    const bool wraps = m_options.wraps && !m_breaker && m_breakerTried;
    option.setWrapMode(wraps ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setAlignment(Qt::AlignLeading);
    option.setTabStopDistance(QFontMetricsF(m_content.font).horizontalAdvance(QLatin1Char(' ')) *
                              tabWidthInSpaces);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    if (!m_content.formats.isEmpty())
        m_layout->setFormats(m_content.formats);
}

qreal LayoutTextNode::imageHeightOnLine(const QTextLine &line) const
{
    qreal height = 0;
    for (const Image &image : m_content.images) {
        if (image.position >= line.textStart() && image.position < line.textStart() + line.textLength())
            height = std::max(height, image.size.height());
    }
    return height;
}

bool LayoutTextNode::breaksLinesAlikeAt(qreal width) const
{
    if (m_measuredWidth < 0 || m_lineCount == 0)
        return false;
    if (!m_options.wraps)
        return true;
    if (std::isinf(width) != std::isinf(m_measuredWidth))
        return false;
    // Lines are filled greedily: a narrower width that still holds every line
    // breaks where the wider one did, as the item after each break did not fit
    // the wider line either. A single line stays as it is at any width that holds it.
    if (m_widestLine > width)
        return false;
    return m_lineCount == 1 || width <= m_measuredWidth;
}

qreal LayoutTextNode::minimumWidth()
{
    if (!m_options.wraps)
        return idealWidth();
    if (m_widestWord >= 0)
        return m_widestWord;
    // Wrapped at word boundaries only into a line of no width, every word takes a line of its own.
    QTextLayout words(m_content.text, m_content.font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    option.setTabStopDistance(QFontMetricsF(m_content.font).horizontalAdvance(QLatin1Char(' ')) *
                              tabWidthInSpaces);
    words.setTextOption(option);
    if (!m_content.formats.isEmpty())
        words.setFormats(m_content.formats);
    qreal widest = 0;
    words.beginLayout();
    for (QTextLine line = words.createLine(); line.isValid(); line = words.createLine()) {
        line.setLineWidth(0);
        widest = std::max(widest, line.naturalTextWidth());
    }
    words.endLayout();
    for (const Image &image : m_content.images)
        widest = std::max(widest, image.size.width());
    m_widestWord = std::ceil(widest);
    return m_widestWord;
}

QSizeF LayoutTextNode::doLayout(qreal width)
{
    if (m_options.wraps && width < narrowestWrappedLine)
        width = std::max(width, std::min(narrowestWrappedLine, minimumWidth()));
    if (breaksLinesAlikeAt(width)) {
        m_measuredWidth = width;
        return size();
    }
    m_measuredWidth = width;
    if (m_content.text.isEmpty()) {
        m_layout.reset();
        m_lineCount = 0;
        m_firstBaseline = -1;
        return {0, 0};
    }
    if (!m_breakerTried && m_options.wraps && m_content.images.isEmpty()) {
        // Decided once per text: the strip is shaped here and measured.
        m_layout.reset();
        ensureLayout();
        QList<QTextLayout::FormatRange> fontRuns;
        for (const QTextLayout::FormatRange &range : std::as_const(m_content.formats)) {
            if (range.format.hasProperty(QTextFormat::FontFamilies))
                fontRuns.append(range);
        }
        m_breaker = TextLineBreaker::measure(*m_layout, fontRuns);
        if (!m_breaker)
            m_layout.reset(); // laid out again below, wrapping
    }
    m_breakerTried = true;
    const QSizeF size = m_breaker ? breakLines(width) : layoutLines(width);
    if (m_breaker && m_options.cache) {
        // The lines are known; the shaped strip is needed only to paint or
        // hit-test, which shapes it again. Letting it go at once keeps the
        // memory that measuring a long document churns through small.
        m_options.cache->remove(this);
        m_layout.reset();
    } else if (m_options.cache && m_layout) {
        m_options.cache->touch(this);
    }
    return size;
}

QSizeF LayoutTextNode::breakLines(qreal width)
{
    m_brokenLines = m_breaker->breakLines(width, m_options.lineSpacing,
                                          [this]() -> const QTextLayout & { return *strip(); });
    qreal height = 0;
    qreal widest = 0;
    for (const TextLineBreaker::Line &line : m_brokenLines) {
        if (&line != &m_brokenLines.front())
            height += m_options.lineSpacing;
        height += line.height;
        widest = std::max(widest, line.naturalWidth);
    }
    m_lineCount = int(m_brokenLines.size());
    m_widestLine = widest;
    m_firstBaseline = m_brokenLines.empty() ? -1 : m_brokenLines.front().y + m_brokenLines.front().ascent;
    return {std::ceil(widest), std::ceil(height)};
}

const QTextLayout *LayoutTextNode::strip() const
{
    if (!m_layout) {
        ensureLayout();
        TextLineBreaker::layoutStrip(*m_layout);
    }
    if (m_options.cache)
        m_options.cache->touch(const_cast<LayoutTextNode *>(this));
    return m_layout.get();
}

const TextLineBreaker::Line *LayoutTextNode::brokenLineAt(int position) const
{
    if (m_brokenLines.empty())
        return nullptr;
    const auto after =
        std::upper_bound(m_brokenLines.begin(), m_brokenLines.end(), position,
                         [](int value, const TextLineBreaker::Line &line) { return value < line.start; });
    return after == m_brokenLines.begin() ? &m_brokenLines.front() : &*(after - 1);
}

QSizeF LayoutTextNode::layoutLines(qreal width) const
{
    ensureLayout();
    const qreal lineWidth =
        (!m_options.wraps || std::isinf(width)) ? unwrappedLineWidth : std::max<qreal>(1, width);
    m_layout->beginLayout();
    qreal y = 0;
    qreal widest = 0;
    bool first = true;
    for (;;) {
        QTextLine line = m_layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        line.setLineWidth(lineWidth);
        if (!first)
            y += m_options.lineSpacing;
        first = false;
        const qreal raise =
            m_content.images.isEmpty() ? 0 : std::max<qreal>(0, imageHeightOnLine(line) - line.ascent());
        line.setPosition(QPointF(0, y + raise));
        y += line.height() + raise;
        widest = std::max(widest, line.naturalTextWidth());
    }
    m_layout->endLayout();
    m_lineCount = m_layout->lineCount();
    m_widestLine = widest;
    if (m_lineCount > 0) {
        const QTextLine firstLine = m_layout->lineAt(0);
        m_firstBaseline = firstLine.y() + firstLine.ascent();
    }
    return {std::ceil(widest), std::ceil(y)};
}

const QTextLayout *LayoutTextNode::lines() const
{
    if (m_content.text.isEmpty() || m_measuredWidth < 0)
        return nullptr;
    if (!m_layout)
        layoutLines(m_measuredWidth);
    if (m_options.cache)
        m_options.cache->touch(const_cast<LayoutTextNode *>(this));
    return m_layout.get();
}

qreal LayoutTextNode::firstBaseline() const
{
    return m_lineCount > 0 ? m_firstBaseline : -1;
}

QList<QTextLayout::FormatRange> LayoutTextNode::paintedRanges(const LayoutPaintContext &context,
                                                              QColor base) const
{
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(m_content.colorRuns.size() + 1);
    for (const ColorRun &run : m_content.colorRuns) {
        QTextCharFormat format;
        format.setForeground(run.foreground ? run.foreground->resolve(context.appearance) : base);
        // QTextLayout::draw skips a range that only sets the text colour when its area meets
        // one already drawn, and the areas of neighbouring runs always meet at their common
        // edge: the bold word inside a link, or the text after a code span, would keep the
        // base colour. A range with a background is never skipped, so every range has one,
        // transparent where the run asks for none.
        format.setBackground(run.background ? run.background->resolve(context.appearance)
                                            : QColor(Qt::transparent));
        if (run.lineColor)
            format.setUnderlineColor(run.lineColor->resolve(context.appearance));
        ranges.append({run.start, run.length, format});
    }
    if (const LayoutFindHighlight *find = context.find; find && m_documentIndex >= 0) {
        QTextCharFormat match;
        match.setBackground(find->match);
        QTextCharFormat current;
        current.setBackground(find->current);
        for (const auto &[start, end] : findMatches(find->query)) {
            const bool isCurrent = find->currentNode == m_documentIndex && find->currentStart == start;
            ranges.append({start, end - start, isCurrent ? current : match});
        }
    }
    if (const LayoutSelection *selection = context.selection; selection && !selection->isEmpty() &&
                                                              m_documentIndex >= selection->startNode &&
                                                              m_documentIndex <= selection->endNode) {
        const int from = m_documentIndex == selection->startNode ? selection->startOffset : 0;
        const int to = m_documentIndex == selection->endNode ? selection->endOffset : length();
        if (to > from) {
            QTextCharFormat format;
            format.setBackground(context.palette.color(QPalette::Highlight));
            format.setForeground(context.palette.color(QPalette::HighlightedText));
            ranges.append({from, to - from, format});
        }
    }
    return ranges;
}

void LayoutTextNode::paint(LayoutPaintContext &context) const
{
    const QTextLayout *layout = m_breaker ? (m_brokenLines.empty() ? nullptr : strip()) : lines();
    if (!layout || layout->lineCount() == 0)
        return;
    QPainter *painter = context.painter;
    const QColor base = m_content.baseColor ? m_content.baseColor->resolve(context.appearance)
                                            : context.palette.color(QPalette::Text);
    const QList<QTextLayout::FormatRange> ranges = paintedRanges(context, base);
    painter->setPen(base);
    if (m_breaker) {
        paintBrokenLines(context, *layout, ranges);
        return;
    }
    layout->draw(painter, QPointF(0, 0), ranges, context.clip);

    for (const Image &image : m_content.images) {
        const QTextLine line = layout->lineForTextPosition(image.position);
        if (!line.isValid())
            continue;
        const QRectF target(line.cursorToX(image.position), line.y() + line.ascent() - image.size.height(),
                            image.size.width(), image.size.height());
        if (target.intersects(context.clip)) {
            painter->save();
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(target, image.image);
            painter->restore();
        }
    }
}

void LayoutTextNode::paintBrokenLines(LayoutPaintContext &context, const QTextLayout &strip,
                                      const QList<QTextLayout::FormatRange> &ranges) const
{
    // Each line is the slice of its segment's strip line between its ends,
    // moved into place. A glyph's ink may reach a little past its advance, into
    // white space around the slice; the slice takes that in, but never what
    // starts the next line, and like a wrapped QTextLayout line it shows little
    // of its trailing white space (a selection's highlight stops near the text).
    constexpr qreal overhang = 2;
    constexpr qreal open = TextLineBreaker::unwrappedWidth;
    QPainter *painter = context.painter;
    for (const TextLineBreaker::Line &line : m_brokenLines) {
        if (line.y > context.clip.bottom() || line.y + line.height < context.clip.top())
            continue;
        const QTextLine stripLine = strip.lineAt(line.segment);
        const int end = line.start + line.length;
        const bool opensSegment = line.start == stripLine.textStart();
        const bool closesSegment = end == stripLine.textStart() + stripLine.textLength();
        const qreal left =
            opensSegment
                ? -open
                : (m_content.text.at(line.start - 1).isSpace() ? line.stripX - overhang / 2 : line.stripX);
        const qreal right =
            closesSegment ? open
            : m_content.text.at(end - 1).isSpace()
                ? std::min(line.stripX + line.naturalWidth + overhang, line.endX - overhang / 2)
                : line.endX;
        const QRectF slice(QPointF(left, stripLine.y()), QPointF(right, stripLine.y() + stripLine.height()));
        const QPointF offset(-line.stripX, line.y + line.ascent - stripLine.y() - stripLine.ascent());
        painter->save();
        painter->translate(offset);
        painter->setClipRect(slice, Qt::IntersectClip);
        strip.draw(painter, QPointF(0, 0), ranges, slice);
        painter->restore();
    }
}

int LayoutTextNode::cursorAt(QPointF point) const
{
    if (m_breaker) {
        if (m_brokenLines.empty() || point.y() < 0)
            return 0;
        const TextLineBreaker::Line *found = &m_brokenLines.back();
        for (const TextLineBreaker::Line &line : m_brokenLines) {
            if (point.y() < line.y + line.height) {
                found = &line;
                break;
            }
        }
        if (found == &m_brokenLines.back() && point.y() >= found->y + found->height)
            return length();
        const int position = strip()->lineAt(found->segment).xToCursor(point.x() + found->stripX);
        int last = found->start + found->length;
        if (last > found->start && m_content.text.at(last - 1) == QChar::LineSeparator)
            --last;
        return std::clamp(position, found->start, last);
    }
    const QTextLayout *layout = lines();
    if (!layout || layout->lineCount() == 0)
        return 0;
    if (point.y() < 0)
        return 0;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (point.y() < line.y() + line.height() || i == layout->lineCount() - 1) {
            if (i == layout->lineCount() - 1 && point.y() >= line.y() + line.height())
                return length();
            return line.xToCursor(point.x());
        }
    }
    return length();
}

QList<std::pair<int, int>> LayoutTextNode::lineRanges() const
{
    QList<std::pair<int, int>> ranges;
    if (m_breaker) {
        for (const TextLineBreaker::Line &line : m_brokenLines)
            ranges.append({line.start, line.length});
    } else if (const QTextLayout *layout = lines()) {
        for (int i = 0; i < layout->lineCount(); ++i)
            ranges.append({layout->lineAt(i).textStart(), layout->lineAt(i).textLength()});
    }
    return ranges;
}

std::optional<QUrl> LayoutTextNode::linkAt(QPointF point) const
{
    if (m_content.links.isEmpty())
        return std::nullopt;
    if (m_breaker) {
        for (const TextLineBreaker::Line &line : m_brokenLines) {
            if (point.y() < line.y || point.y() >= line.y + line.height)
                continue;
            if (point.x() < 0 || point.x() > line.naturalWidth)
                return std::nullopt;
            const int position = strip()
                                     ->lineAt(line.segment)
                                     .xToCursor(point.x() + line.stripX, QTextLine::CursorOnCharacter);
            return m_content.linkAtPosition(position);
        }
        return std::nullopt;
    }
    const QTextLayout *layout = lines();
    if (!layout)
        return std::nullopt;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (point.y() < line.y() || point.y() >= line.y() + line.height())
            continue;
        if (point.x() < 0 || point.x() > line.naturalTextWidth())
            return std::nullopt;
        const int position = line.xToCursor(point.x(), QTextLine::CursorOnCharacter);
        return m_content.linkAtPosition(position);
    }
    return std::nullopt;
}

QList<LayoutTextNode::LinkRange> LayoutTextNode::linkRanges() const
{
    QList<LinkRange> ranges;
    ranges.reserve(m_content.links.size());
    for (const LinkRun &link : m_content.links)
        ranges.append({link.start, link.start + link.length, link.url});
    return ranges;
}

QList<int> LayoutTextNode::imagePositions() const
{
    QList<int> positions;
    positions.reserve(m_content.images.size());
    for (const Image &image : m_content.images)
        positions.append(image.position);
    return positions;
}

QRectF LayoutTextNode::cursorRect(int position) const
{
    if (m_breaker) {
        const TextLineBreaker::Line *line = brokenLineAt(std::clamp(position, 0, length()));
        if (!line)
            return {};
        const qreal x =
            strip()->lineAt(line->segment).cursorToX(std::clamp(position, 0, length())) - line->stripX;
        return QRectF(x, line->y, 1, line->height);
    }
    const QTextLayout *layout = lines();
    if (!layout || layout->lineCount() == 0)
        return {};
    const QTextLine line = layout->lineForTextPosition(std::clamp(position, 0, length()));
    if (!line.isValid())
        return {};
    return QRectF(line.cursorToX(position), line.y(), 1, line.height());
}

void LayoutTextNode::hitTest(QPointF point, LayoutHit &hit)
{
    hit.text = this;
    hit.textPoint = point;
    hit.link = linkAt(point);
}

QString LayoutTextNode::dumpDetails() const
{
    QString text = plainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    if (text.size() > 60)
        text = text.left(57) + QLatin1String("...");
    QString details = QStringLiteral("\"%1\" font %2px").arg(text).arg(m_content.font.pixelSize());
    if (m_content.font.weight() != QFont::Normal)
        details += QStringLiteral(" weight %1").arg(int(m_content.font.weight()));
    if (m_content.font.fixedPitch())
        details += QStringLiteral(" mono");
    if (m_measuredWidth >= 0)
        details += QStringLiteral(" lines %1").arg(m_lineCount);
    if (!m_identifier.isEmpty())
        details += QStringLiteral(" #") + m_identifier;
    return details;
}

} // namespace kestrune
