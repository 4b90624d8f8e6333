#include "markdown/layout/text/longwordsplitter_p.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace kestrune {

namespace {

constexpr char16_t zeroWidthSpace = u'\u200b';

// Splits the run [start, end) of `text`, which has no break opportunity inside,
// into pieces of at most `longest` characters.
void splitRun(QStringView text, int start, int end, int longest, std::vector<int> &positions)
{
    const QStringView run = text.mid(start, end - start);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, run.constData(), int(run.size()));
    int pieceStart = 0;
    int lastBoundary = 0; // the last grapheme boundary seen after pieceStart
    for (int boundary = graphemes.toNextBoundary(); boundary >= 0; boundary = graphemes.toNextBoundary()) {
        while (boundary - pieceStart > longest) {
            int cut = lastBoundary > pieceStart ? lastBoundary : pieceStart + longest;
            if (cut == pieceStart + longest && run.at(cut).isLowSurrogate() &&
                run.at(cut - 1).isHighSurrogate())
                --cut; // a grapheme longer than the bound: cut between code points
            positions.push_back(start + cut);
            pieceStart = cut;
        }
        lastBoundary = boundary;
    }
}

} // namespace

std::vector<int> LongWordSplitter::breakPositions(QStringView text, const std::vector<int> &styleChanges,
                                                  int longest)
{
    std::vector<int> positions;
    const bool restyled = text.size() > shortestRestyledRun && int(styleChanges.size()) > mostStyleChanges;
    if ((text.size() <= longest && !restyled) || longest < 3)
        return positions;
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text.constData(), int(text.size()));
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text.constData(), int(text.size()));
    int previous = 0;
    for (int boundary = lines.toNextBoundary(); boundary >= 0; boundary = lines.toNextBoundary()) {
        int pieceStart = previous;
        if (boundary - previous > shortestRestyledRun) {
            // Every `mostStyleChanges`-th change of style inside the run that falls between
            // graphemes starts a piece of its own.
            auto change = std::upper_bound(styleChanges.begin(), styleChanges.end(), previous);
            int changesInPiece = 0;
            for (; change != styleChanges.end() && *change < boundary; ++change) {
                if (++changesInPiece <= mostStyleChanges)
                    continue;
                graphemes.setPosition(*change);
                if (!graphemes.isAtBoundary())
                    continue;
                if (*change - pieceStart > longest)
                    splitRun(text, pieceStart, *change, longest - 1, positions);
                positions.push_back(*change);
                pieceStart = *change;
                changesInPiece = 1;
            }
        }
        // Each break opportunity added is a character of the run before it.
        if (boundary - pieceStart > longest)
            splitRun(text, pieceStart, boundary, longest - 1, positions);
        previous = boundary;
    }
    return positions;
}

QString LongWordSplitter::withBreaks(QStringView text, const std::vector<int> &positions)
{
    QString result;
    result.reserve(text.size() + qsizetype(positions.size()));
    int from = 0;
    for (int position : positions) {
        result.append(text.mid(from, position - from));
        result.append(QChar(zeroWidthSpace));
        from = position;
    }
    result.append(text.mid(from));
    return result;
}

} // namespace kestrune
