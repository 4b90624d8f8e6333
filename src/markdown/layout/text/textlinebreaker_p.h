#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QString>
#include <QTextLayout>

#include <functional>
#include <memory>
#include <vector>

namespace kestrune {

// Breaks a text into lines at any width from positions measured once.
//
// QTextLayout shapes its text anew every time it lays out, so a window resize
// costs a document nearly what opening it did. This breaker reads the break
// opportunities of a text and their positions off one shaped "strip" (the text
// laid out without wrapping: one line per paragraph segment) and then fills
// lines greedily from those numbers alone, as QTextLayout's word wrapping does;
// the strip is only needed again to paint or hit-test, each visual line being
// a slice of its segment's strip line.
//
// Texts it cannot break exactly alike are refused, and their owner lays them
// out with QTextLayout: right-to-left and bidirectional text, tabs, soft
// hyphens, segments too long to measure cheaply, and glyphs from fallback
// fonts whose metrics would change line heights.
class TextLineBreaker
{
public:
    struct Line
    {
        int segment = 0; // the strip line it is a slice of
        int start = 0;
        int length = 0;         // trailing white space and a closing line separator included
        qreal stripX = 0;       // where the line starts on its strip line
        qreal endX = 0;         // where it ends there, trailing white space included
        qreal naturalWidth = 0; // trailing white space left out
        qreal ascent = 0;
        qreal height = 0; // ascent, descent and leading, rounded up as QTextLine does
        qreal y = 0;
    };

    // Longest segment measured; a longer one is refused (measuring is quadratic in it).
    static constexpr int longestSegment = 4000;
    // Strip lines are this wide, and lines at least this wide do not wrap.
    static constexpr qreal unwrappedWidth = 1.0e6;

    // Lays `strip` out without wrapping (its text option must not wrap) and
    // measures it. `fontRuns` are the ranges whose font differs from the
    // layout's own. Returns nothing for a text it refuses.
    static std::unique_ptr<TextLineBreaker> measure(QTextLayout &strip,
                                                    const QList<QTextLayout::FormatRange> &fontRuns);
    // Lays `strip` out as measure() did, for painting after it was released.
    static void layoutStrip(QTextLayout &strip);

    // The lines at `width`, `lineSpacing` apart. `strip` gives the shaped
    // strip, for the rare word that is wider than a line and has to be broken
    // between glyphs: those lines come from QTextLayout itself.
    std::vector<Line> breakLines(qreal width, qreal lineSpacing,
                                 const std::function<const QTextLayout &()> &strip) const;

private:
    struct Metrics
    {
        qint64 ascent = 0; // 1/64 pixel, as QTextLayout measures
        qint64 descent = 0;
        qint64 leading = 0;
    };
    struct FontPiece
    {
        int end = 0;  // the piece runs from the previous piece's end
        int font = 0; // index in m_fonts
    };
    // Positions are in 1/64 pixel; a segment is far narrower than 2^31 of those.
    struct Candidate
    {
        qint32 position = 0;   // a line may start here
        qint32 contentEnd = 0; // strip x where a line ending here ends, trailing white space left out
        qint32 breakX = 0;     // strip x of `position`
        qint16 overhang =
            0; // how far the last glyph's ink reaches past its advance (a negative right bearing)
        bool hangingSpace = false; // white space follows the content
    };
    static_assert(sizeof(Candidate) == 16);
    struct Segment
    {
        int start = 0;
        int end = 0;
        qint64 startX = 0;
        int firstCandidate = 0; // candidates [first, next segment's first); the last one ends the segment
    };

    // Whether the text holds a character the breaker cannot measure, or a segment too long.
    static bool refusesText(const QString &text);
    // Records the font of every character: the strip's own, and that of each run.
    void addFonts(const QFont &stripFont, const QList<QTextLayout::FormatRange> &fontRuns);
    // Records a segment of the unwrapped strip and its break candidates; false when it cannot be
    // measured (too wide, or its height not that of its fonts).
    bool addSegment(const QTextLine &line);
    Metrics metricsOf(int start, int end) const;
    // The font piece holding the character at `position`; end() past the last.
    std::vector<FontPiece>::const_iterator pieceAt(int position) const;
    Line makeLine(int segment, int start, int end, qint64 startX, qint64 naturalEnd, qint64 endX) const;
    // The lines as QTextLayout wraps them, for a word wider than a line.
    std::vector<Line> wrappedByQTextLayout(qreal width, qreal lineSpacing, const QTextLayout &strip) const;
    // The ink past the advance of the character before `position`, in 1/64 pixel.
    qint64 overhangBefore(int position) const;

    QString m_text;
    struct Font
    {
        QFontMetricsF font;
        Metrics metrics;
    };
    std::vector<Font> m_fonts; // the layout's own first
    std::vector<FontPiece> m_pieces;
    std::vector<Candidate> m_candidates;
    std::vector<Segment> m_segments;
};

} // namespace kestrune
