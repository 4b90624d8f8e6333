#include "markdown/layout/text/textlinebreaker_p.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrune {

namespace {

// QTextLayout measures in 1/64 pixel; positions read off it convert exactly.
qint64 fixed(qreal value)
{
    return qRound64(value * 64);
}

qreal real(qint64 value)
{
    return qreal(value) / 64;
}

qint64 ceilFixed(qint64 value)
{
    return (value + 63) & ~qint64(63);
}

bool refusesCharacter(char32_t c)
{
    if (c == u'\t' || c == 0x00ad) // tab stops move with the line start; soft hyphens add a glyph
        return true;
    if (c < 0x0590)
        return false;
    switch (QChar::direction(c)) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirAN:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirPDF:
    case QChar::DirRLI:
    case QChar::DirLRI:
    case QChar::DirFSI:
    case QChar::DirPDI:
        return true;
    default:
        return false;
    }
}

// Every character that may end a strip line (more than do, to be safe).
bool endsSegment(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x0085:
    case QChar::LineSeparator:
    case QChar::ParagraphSeparator:
        return true;
    default:
        return false;
    }
}

// White space that hangs at the end of a line instead of taking room on it.
bool hangs(QChar c)
{
    return c.isSpace() && c.decompositionTag() != QChar::NoBreak;
}

} // namespace

void TextLineBreaker::layoutStrip(QTextLayout &strip)
{
    strip.beginLayout();
    qreal y = 0;
    for (;;) {
        QTextLine line = strip.createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        line.setLineWidth(unwrappedWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    strip.endLayout();
}

std::unique_ptr<TextLineBreaker> TextLineBreaker::measure(QTextLayout &strip,
                                                          const QList<QTextLayout::FormatRange> &fontRuns)
{
    const QString text = strip.text();
    if (refusesText(text))
        return nullptr;
    layoutStrip(strip);

    auto breaker = std::make_unique<TextLineBreaker>();
    breaker->m_text = text;
    breaker->addFonts(strip.font(), fontRuns);
    for (int index = 0; index < strip.lineCount(); ++index) {
        if (!breaker->addSegment(strip.lineAt(index)))
            return nullptr;
    }
    breaker->m_candidates.shrink_to_fit();
    breaker->m_pieces.shrink_to_fit();
    breaker->m_fonts.shrink_to_fit();
    return breaker;
}

bool TextLineBreaker::refusesText(const QString &text)
{
    qsizetype segmentStart = 0;
    for (qsizetype index = 0; index < text.size(); ++index) {
        // A segment too long to measure is refused before it is shaped: shaping
        // a long text for nothing costs as much as laying it out.
        if (endsSegment(text.at(index)))
            segmentStart = index + 1;
        else if (index - segmentStart >= longestSegment)
            return true;
        char32_t c = text.at(index).unicode();
        if (QChar::isHighSurrogate(c) && index + 1 < text.size() && text.at(index + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(index), text.at(index + 1));
            ++index;
        }
        if (refusesCharacter(c))
            return true;
    }
    return false;
}

void TextLineBreaker::addFonts(const QFont &stripFont, const QList<QTextLayout::FormatRange> &fontRuns)
{
    // Which font each character is in.
    const auto addFont = [this](const QFont &font) {
        const QFontMetricsF metrics(font);
        m_fonts.push_back(
            {metrics, {fixed(metrics.ascent()), fixed(metrics.descent()), fixed(metrics.leading())}});
    };
    addFont(stripFont);
    int covered = 0;
    for (const QTextLayout::FormatRange &run : fontRuns) {
        if (run.start > covered)
            m_pieces.push_back({run.start, 0});
        addFont(run.format.font());
        m_pieces.push_back({run.start + run.length, int(m_fonts.size()) - 1});
        covered = run.start + run.length;
    }
    if (covered < m_text.size())
        m_pieces.push_back({int(m_text.size()), 0});
}

bool TextLineBreaker::addSegment(const QTextLine &line)
{
    Segment segment;
    segment.start = line.textStart();
    segment.end = line.textStart() + line.textLength();
    if (segment.end - segment.start > longestSegment || fixed(line.naturalTextWidth()) > (qint64(1) << 30))
        return false;
    segment.startX = fixed(line.cursorToX(segment.start));
    segment.firstCandidate = int(m_candidates.size());
    m_segments.push_back(segment);

    // A glyph from a fallback font changes the height of the lines it is on
    // in ways the fonts' metrics do not tell.
    const Metrics whole = metricsOf(segment.start, segment.end);
    if (whole.ascent != fixed(line.ascent()) || whole.descent != fixed(line.descent()) ||
        whole.leading != fixed(line.leading()))
        return false;

    const auto addCandidate = [&](int position) {
        int contentEnd = position;
        while (contentEnd > segment.start && hangs(m_text.at(contentEnd - 1)))
            --contentEnd;
        m_candidates.push_back(
            {position, qint32(fixed(line.cursorToX(contentEnd))), qint32(fixed(line.cursorToX(position))),
             qint16(std::min<qint64>(overhangBefore(contentEnd), 0x7fff)), contentEnd < position});
    };
    const int length = segment.end - segment.start;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, m_text.constData() + segment.start, length);
    for (int boundary = finder.toNextBoundary(); boundary > 0 && boundary < length;
         boundary = finder.toNextBoundary())
        addCandidate(segment.start + boundary);
    addCandidate(segment.end); // the end of the segment closes its last line
    return true;
}

TextLineBreaker::Metrics TextLineBreaker::metricsOf(int start, int end) const
{
    // Combined as QTextLayout combines the items on a line: the largest ascent
    // and descent, and the leading that gives the largest ascent plus leading.
    // An empty line takes the font of the character it stands before.
    const int rangeEnd = std::max(end, start + 1);
    auto piece = pieceAt(start);
    if (piece == m_pieces.end())
        return m_fonts.front().metrics;
    Metrics line = m_fonts[std::size_t(piece->font)].metrics;
    for (++piece; piece != m_pieces.end() && (piece - 1)->end < rangeEnd; ++piece) {
        const Metrics &font = m_fonts[std::size_t(piece->font)].metrics;
        line.leading = std::max(line.leading + line.ascent, font.leading + font.ascent) -
                       std::max(line.ascent, font.ascent);
        line.ascent = std::max(line.ascent, font.ascent);
        line.descent = std::max(line.descent, font.descent);
    }
    return line;
}

std::vector<TextLineBreaker::FontPiece>::const_iterator TextLineBreaker::pieceAt(int position) const
{
    return std::upper_bound(m_pieces.begin(), m_pieces.end(), position,
                            [](int value, const FontPiece &candidate) { return value < candidate.end; });
}

qint64 TextLineBreaker::overhangBefore(int position) const
{
    if (position <= 0 || m_text.at(position - 1).isSurrogate())
        return 0;
    const auto piece = pieceAt(position - 1);
    const QFontMetricsF &font = m_fonts[piece == m_pieces.end() ? 0 : std::size_t(piece->font)].font;
    // As QTextLayout takes the bearing: truncated to 1/64 pixel, only when negative.
    const qint64 bearing = qint64(font.rightBearing(m_text.at(position - 1)) * 64);
    return bearing < 0 ? -bearing : 0;
}

TextLineBreaker::Line TextLineBreaker::makeLine(int segment, int start, int end, qint64 startX,
                                                qint64 naturalEnd, qint64 endX) const
{
    const Metrics metrics = metricsOf(start, end);
    Line line;
    line.segment = segment;
    line.start = start;
    line.length = end - start;
    line.stripX = real(startX);
    line.endX = real(endX);
    line.naturalWidth = real(std::max<qint64>(0, naturalEnd - startX));
    line.ascent = real(metrics.ascent);
    line.height = real(ceilFixed(metrics.ascent + metrics.descent + std::max<qint64>(0, metrics.leading)));
    return line;
}

std::vector<TextLineBreaker::Line> TextLineBreaker::wrappedByQTextLayout(qreal width, qreal lineSpacing,
                                                                         const QTextLayout &strip) const
{
    QTextLayout layout(m_text, strip.font());
    QTextOption option = strip.textOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFormats(strip.formats());
    layout.beginLayout();
    std::vector<Line> lines;
    qreal y = 0;
    for (QTextLine wrapped = layout.createLine(); wrapped.isValid(); wrapped = layout.createLine()) {
        wrapped.setLeadingIncluded(true);
        wrapped.setLineWidth(std::max<qreal>(1, width));
        if (!lines.empty())
            y += lineSpacing;
        wrapped.setPosition(QPointF(0, y));
        y += wrapped.height();

        Line line;
        line.start = wrapped.textStart();
        line.length = wrapped.textLength();
        while (line.segment + 1 < int(m_segments.size()) &&
               m_segments[std::size_t(line.segment) + 1].start <= line.start)
            ++line.segment;
        const QTextLine stripLine = strip.lineAt(line.segment);
        line.stripX = stripLine.cursorToX(line.start);
        line.endX = stripLine.cursorToX(line.start + line.length);
        line.naturalWidth = wrapped.naturalTextWidth();
        line.ascent = wrapped.ascent();
        line.height = wrapped.height();
        line.y = wrapped.y();
        lines.push_back(line);
    }
    layout.endLayout();
    return lines;
}

std::vector<TextLineBreaker::Line>
TextLineBreaker::breakLines(qreal width, qreal lineSpacing,
                            const std::function<const QTextLayout &()> &strip) const
{
    // As QTextLine::setLineWidth takes it.
    const qint64 available = (!std::isfinite(width) || width >= unwrappedWidth)
                                 ? std::numeric_limits<qint64>::max() / 4
                                 : qint64(std::max<qreal>(1, width) * 64);
    std::vector<Line> lines;
    for (int index = 0; index < int(m_segments.size()); ++index) {
        const Segment &segment = m_segments[std::size_t(index)];
        const int last =
            (index + 1 < int(m_segments.size()) ? m_segments[std::size_t(index) + 1].firstCandidate
                                                : int(m_candidates.size())) -
            1;
        const bool endsText = index + 1 == int(m_segments.size());
        int lineStart = segment.start;
        qint64 startX = segment.startX;
        // Where the text of a line ending at a candidate ends: its ink, and at
        // the very end of the text its trailing white space as far as it fits.
        const auto naturalEnd = [&](int candidateIndex) {
            const Candidate &candidate = m_candidates[std::size_t(candidateIndex)];
            if (candidateIndex == last && endsText && candidate.hangingSpace &&
                candidate.breakX - startX <= available)
                return candidate.breakX;
            return candidate.contentEnd + (candidate.hangingSpace ? 0 : candidate.overhang);
        };
        int best = -1;
        for (int next = segment.firstCandidate;;) {
            const Candidate &candidate = m_candidates[std::size_t(next)];
            // The first word of a line is measured by its advances, later ones
            // with the ink of their last glyph.
            const qint64 reach = candidate.contentEnd + (best >= 0 ? candidate.overhang : 0) - startX;
            if (reach <= available) {
                if (next == last) {
                    lines.push_back(
                        makeLine(index, lineStart, segment.end, startX, naturalEnd(next), candidate.breakX));
                    break;
                }
                best = next++;
                continue;
            }
            if (best >= 0) {
                const Candidate &fitting = m_candidates[std::size_t(best)];
                lines.push_back(
                    makeLine(index, lineStart, fitting.position, startX, naturalEnd(best), fitting.breakX));
                lineStart = fitting.position;
                startX = fitting.breakX;
                best = -1;
                continue;
            }
            // A word wider than the line is broken inside, between glyphs;
            // QTextLayout knows where those are.
            return wrappedByQTextLayout(width, lineSpacing, strip());
        }
    }

    qreal y = 0;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (index > 0)
            y += lineSpacing;
        lines[index].y = real(qint64(y * 64)); // as QTextLine::setPosition keeps it
        y += lines[index].height;
    }
    return lines;
}

} // namespace kestrune
