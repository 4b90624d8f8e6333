#pragma once

#include "markdown/layout/text/styledtext.h"

#include "text/searchpattern.h"
#include "ui/dynamiccolor.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QTextLayout>
#include <QUrl>

#include <optional>
#include <utility>
#include <vector>

namespace kestrune {

class LayoutFontCache;

// What a LayoutTextNode shows, prepared from a styled text once when the text is set: the text
// as it is laid out, the character formats QTextLayout shapes it with, and the colours, links
// and pictures by position in that text. Colours stay appearance-dependent; painting resolves
// them. The queries here need no layout: the text as a reader copies and searches it, its
// words and its links.
//
// The laid-out text has line breaks as U+2028, and a zero width space wherever a very long
// word got a break opportunity (see LongWordSplitter); positions count those breaks.
struct LayoutTextContent
{
    struct ColorRun
    {
        int start = 0;
        int length = 0;
        std::optional<DynamicColor> foreground;
        std::optional<DynamicColor> background;
        std::optional<DynamicColor> lineColor;
    };
    struct LinkRun
    {
        int start = 0;
        int length = 0;
        QUrl url;
    };
    struct Image
    {
        int position = 0;
        QImage image;
        QSizeF size;
    };

    LayoutTextContent() = default;
    // Pictures are `devicePixelRatio` times as large in pixels as on the page.
    LayoutTextContent(const StyledText &styled, LayoutFontCache &fonts, qreal devicePixelRatio);

    int length() const { return int(text.size()); }
    bool isInsertedBreak(int position) const;
    // The text between two positions as a reader copies it: line breaks as line feeds, the
    // characters that hold images and break opportunities left out.
    QString plainText(int from, int to) const;
    // The word around a position, as [start, end); a word split for layout is still one word.
    std::pair<int, int> wordAt(int position) const;
    // The matches of a find in the text as a reader sees it, as [start, end) positions.
    QList<std::pair<int, int>> findMatches(const SearchPattern &query) const;
    std::optional<QUrl> linkAtPosition(int position) const;

    QString text;
    std::vector<int> insertedBreaks; // positions of the breaks LongWordSplitter asked for
    QFont font;                      // the first run's; formats give the others
    QList<QTextLayout::FormatRange> formats;
    std::optional<DynamicColor> baseColor;
    QList<ColorRun> colorRuns; // only those that differ from the base colour or add colours
    QList<LinkRun> links;
    QList<Image> images;

private:
    // Takes the styled text with break opportunities in its very long words; returns where they
    // were asked for, as positions in the styled text.
    std::vector<int> takeTextWithBreaks(const StyledText &styled);
    // Adds the format, colours and link of a run that spans [start, start + length).
    void addRun(const TextAttributes &attributes, int start, int length, const QFont &runFont,
                const Image *placeholder);
};

} // namespace kestrune
