#include "markdown/layout/nodes/layouttextcontent_p.h"

#include "markdown/layout/text/layoutfontcache_p.h"
#include "markdown/layout/text/longwordsplitter_p.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace kestrune {

namespace {

constexpr char16_t zeroWidthSpace = u'\u200b';

QTextCharFormat::UnderlineStyle underlineStyle(TextLineStyle::Pattern pattern)
{
    switch (pattern) {
    case TextLineStyle::Pattern::solid:
        return QTextCharFormat::SingleUnderline;
    case TextLineStyle::Pattern::dot:
        return QTextCharFormat::DotLine;
    case TextLineStyle::Pattern::dash:
        return QTextCharFormat::DashUnderline;
    case TextLineStyle::Pattern::dashDot:
        return QTextCharFormat::DashDotLine;
    case TextLineStyle::Pattern::dashDotDot:
        return QTextCharFormat::DashDotDotLine;
    }
    return QTextCharFormat::SingleUnderline;
}

} // namespace

LayoutTextContent::LayoutTextContent(const StyledText &styled, LayoutFontCache &fonts, qreal devicePixelRatio)
{
    const std::vector<int> breaks = takeTextWithBreaks(styled);
    const auto at = [&breaks](int position) {
        return position + int(std::upper_bound(breaks.begin(), breaks.end(), position) - breaks.begin());
    };
    const FontProperties defaultProperties;
    font = fonts.font(styled.runs.isEmpty() ? defaultProperties
                                            : styled.runs.first().attributes.fontPropertiesOrDefault());
    baseColor = styled.runs.isEmpty() ? std::nullopt : styled.runs.first().attributes.foregroundColor;

    for (const StyledText::Image &image : styled.images)
        images.append({at(image.position), image.image,
                       QSizeF(image.image.size()) / std::max<qreal>(0.01, devicePixelRatio)});

    for (const StyledText::Run &source : styled.runs) {
        const int start = at(source.start);
        const auto image =
            std::find_if(images.cbegin(), images.cend(), [&](const Image &i) { return i.position == start; });
        const bool placeholder = image != images.cend() && source.length == 1;
        // A break after a placeholder stays out of its run, which is as wide as the picture.
        const int length = placeholder ? 1 : at(source.start + source.length) - start;
        addRun(source.attributes, start, length, fonts.font(source.attributes.fontPropertiesOrDefault()),
               placeholder ? &*image : nullptr);
    }
}

std::vector<int> LayoutTextContent::takeTextWithBreaks(const StyledText &styled)
{
    text = styled.text;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    // Very long words get break opportunities, which shift every position after
    // them. A break belongs to the run it ends, so runs stay contiguous.
    std::vector<int> styleChanges;
    if (text.size() > LongWordSplitter::shortestRestyledRun) {
        styleChanges.reserve(std::size_t(styled.runs.size()));
        for (const StyledText::Run &run : styled.runs) {
            if (run.start > 0)
                styleChanges.push_back(run.start);
        }
    }
    std::vector<int> breaks = LongWordSplitter::breakPositions(text, styleChanges);
    if (!breaks.empty()) {
        text = LongWordSplitter::withBreaks(text, breaks);
        insertedBreaks.reserve(breaks.size());
        for (std::size_t index = 0; index < breaks.size(); ++index)
            insertedBreaks.push_back(breaks[index] + int(index));
    }
    return breaks;
}

void LayoutTextContent::addRun(const TextAttributes &attributes, int start, int length, const QFont &runFont,
                               const Image *placeholder)
{
    QTextCharFormat format;
    bool needed = false;
    if (runFont != font) {
        format.setFont(runFont, QTextCharFormat::FontPropertiesAll);
        needed = true;
    }
    if (attributes.strikethroughStyle) {
        format.setFontStrikeOut(true);
        needed = true;
    }
    if (attributes.underlineStyle) {
        format.setUnderlineStyle(underlineStyle(attributes.underlineStyle->pattern));
        needed = true;
    }
    qreal spacing = attributes.kerning.value_or(0) + attributes.tracking.value_or(0);
    if (placeholder) {
        // The placeholder is as wide as the picture.
        spacing += placeholder->size.width() -
                   QFontMetricsF(runFont).horizontalAdvance(QChar(StyledText::imagePlaceholder));
    }
    if (spacing != 0) {
        format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        format.setFontLetterSpacing(spacing);
        needed = true;
    }
    if (needed)
        formats.append({start, length, format});

    std::optional<DynamicColor> lineColor;
    if (attributes.underlineStyle && attributes.underlineStyle->color)
        lineColor = attributes.underlineStyle->color;
    if (!sameColor(attributes.foregroundColor, baseColor) || attributes.backgroundColor || lineColor)
        colorRuns.append({start, length, attributes.foregroundColor, attributes.backgroundColor, lineColor});
    if (attributes.link) {
        if (!links.isEmpty() && links.last().url == *attributes.link &&
            links.last().start + links.last().length == start)
            links.last().length += length;
        else
            links.append({start, length, *attributes.link});
    }
}

std::pair<int, int> LayoutTextContent::wordAt(int position) const
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    finder.setPosition(std::clamp(position, 0, length()));
    int start = finder.isAtBoundary() && (finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem)
                    ? finder.position()
                    : finder.toPreviousBoundary();
    finder.setPosition(std::clamp(position, 0, length()));
    int end = finder.toNextBoundary();
    if (start < 0)
        start = 0;
    if (end < 0)
        end = length();
    // A word split for layout is still one word.
    while (end < length() && isInsertedBreak(end)) {
        finder.setPosition(end + 1);
        const int next = finder.toNextBoundary();
        end = next < 0 ? length() : next;
    }
    while (start > 0 && isInsertedBreak(start - 1)) {
        finder.setPosition(start - 1);
        const int previous = finder.toPreviousBoundary();
        start = previous < 0 ? 0 : previous;
    }
    return {start, end};
}

QList<std::pair<int, int>> LayoutTextContent::findMatches(const SearchPattern &query) const
{
    QList<std::pair<int, int>> matches;
    const bool hasLineSeparators = text.contains(QChar::LineSeparator);
    if (insertedBreaks.empty() && !hasLineSeparators) {
        query.forEachMatch(text, [&matches](const TextMatch &match) {
            matches.append({int(match.start), int(match.end())});
            return true;
        });
        return matches;
    }
    // Searched as the reader reads it: without the breaks inserted into long words, and with
    // the lines the text was given in, so that a match ends at a line break as in the source.
    QString searched;
    std::vector<int> positions; // of each searched character in the text
    searched.reserve(text.size());
    positions.reserve(size_t(text.size()) + 1);
    for (int i = 0; i < length(); ++i) {
        if (isInsertedBreak(i))
            continue;
        const QChar c = text.at(i);
        searched.append(c == QChar::LineSeparator ? QChar(u'\n') : c);
        positions.push_back(i);
    }
    query.forEachMatch(searched, [&](const TextMatch &match) {
        matches.append({positions[size_t(match.start)], positions[size_t(match.end() - 1)] + 1});
        return true;
    });
    return matches;
}

bool LayoutTextContent::isInsertedBreak(int position) const
{
    return std::binary_search(insertedBreaks.begin(), insertedBreaks.end(), position);
}

std::optional<QUrl> LayoutTextContent::linkAtPosition(int position) const
{
    for (const LinkRun &link : links) {
        if (position >= link.start && position < link.start + link.length)
            return link.url;
    }
    return std::nullopt;
}

QString LayoutTextContent::plainText(int from, int to) const
{
    if (to < 0 || to > length())
        to = length();
    from = std::clamp(from, 0, to);
    QString plain;
    plain.reserve(to - from);
    for (int i = from; i < to; ++i) {
        const QChar c = text.at(i);
        if (c == zeroWidthSpace)
            continue;
        if (c == QChar(StyledText::imagePlaceholder) &&
            std::any_of(images.cbegin(), images.cend(),
                        [i](const Image &image) { return image.position == i; }))
            continue;
        plain.append(c == QChar::LineSeparator ? QChar(u'\n') : c);
    }
    return plain;
}

} // namespace kestrune
