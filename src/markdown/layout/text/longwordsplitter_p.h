#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace kestrune {

// Finds where a text needs extra break opportunities so that no run without
// one is longer than a bound.
//
// QTextLayout, wrapping at word boundaries or anywhere, looks for the end of the
// word at the start of every line before it gives up and breaks inside it, so a
// word of n characters costs it time in n squared; shaping and measuring it on
// the line breaker's strip is no cheaper. A text node gives its layout a zero
// width space at each place found here, which bounds the work per line by the
// bound. The places are grapheme boundaries, as far apart as the bound allows;
// a single grapheme longer than the bound is cut between code points.
//
// What the layout visits per character of a plain word it visits, far more
// dearly, per change of style: a long word whose style changes every letter
// ("a*a*a*…" in Markdown) is bounded by its changes of style as well.
class LongWordSplitter
{
public:
    // Longest run of characters without a break opportunity that is laid out
    // as it is. Wider than a line of any usual width in every font, so only
    // words that are broken between glyphs anyway get extra breaks; the work
    // per line grows with it.
    static constexpr int longestRun = 500;
    // Most changes of style inside a run without a break opportunity, in a run
    // longer than `shortestRestyledRun`.
    static constexpr int mostStyleChanges = 16;
    static constexpr int shortestRestyledRun = 200;

    // The positions in `text` before which a break opportunity goes, ascending
    // and each strictly inside the text, so that with the breaks no run is
    // longer than `longest`, nor holds more than `mostStyleChanges` of the
    // ascending `styleChanges` when it is longer than `shortestRestyledRun`;
    // none for almost every text.
    static std::vector<int> breakPositions(QStringView text, const std::vector<int> &styleChanges = {},
                                           int longest = longestRun);
    // `text` with a zero width space before each of `positions`.
    static QString withBreaks(QStringView text, const std::vector<int> &positions);
};

} // namespace kestrune
