#include "markdown/layout/document/accessibletextattributes_p.h"

#include "markdown/layout/nodes/layouttextnode_p.h"

#include <QFontInfo>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestrune {

namespace {

QString rgb(const QColor &color)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

// A family name as a quoted value, its separators escaped.
QString quotedFamily(QString family)
{
    for (const QChar special : {u'\\', u':', u',', u'=', u';', u'"'})
        family.replace(special, QLatin1Char('\\') + special);
    return QLatin1Char('"') + family + QLatin1Char('"');
}

QString underlineValue(QTextCharFormat::UnderlineStyle style)
{
    switch (style) {
    case QTextCharFormat::NoUnderline:
        return {};
    case QTextCharFormat::DashUnderline:
        return QStringLiteral("dash");
    case QTextCharFormat::DotLine:
        return QStringLiteral("dotted");
    case QTextCharFormat::DashDotLine:
        return QStringLiteral("dot-dash");
    case QTextCharFormat::DashDotDotLine:
        return QStringLiteral("dot-dot-dash");
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline:
        return QStringLiteral("wave");
    case QTextCharFormat::SingleUnderline:
        break;
    }
    return QStringLiteral("solid");
}

bool covers(int start, int length, int position)
{
    return position >= start && position < start + length;
}

// Whether a format sets the font rather than only adding spacing or lines to the text's own.
bool setsFont(const QTextCharFormat &format)
{
    return format.hasProperty(QTextFormat::FontPixelSize) || format.hasProperty(QTextFormat::FontPointSize) ||
           format.hasProperty(QTextFormat::FontFamilies);
}

QString attributesAt(const LayoutTextContent &content, int position, Appearance appearance,
                     QColor defaultColor)
{
    QFont font = content.font;
    bool strikeOut = false;
    QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    for (const QTextLayout::FormatRange &range : content.formats) {
        if (!covers(range.start, range.length, position))
            continue;
        if (setsFont(range.format))
            font = range.format.font();
        strikeOut = strikeOut || range.format.fontStrikeOut();
        if (range.format.underlineStyle() != QTextCharFormat::NoUnderline)
            underline = range.format.underlineStyle();
    }
    QColor foreground = content.baseColor ? content.baseColor->resolve(appearance) : defaultColor;
    std::optional<QColor> background;
    for (const LayoutTextContent::ColorRun &run : content.colorRuns) {
        if (!covers(run.start, run.length, position))
            continue;
        if (run.foreground)
            foreground = run.foreground->resolve(appearance);
        if (run.background)
            background = run.background->resolve(appearance);
    }

    const QFontInfo info(font);
    QString attributes;
    const auto add = [&attributes](QLatin1String key, const QString &value) {
        attributes += key + QLatin1Char(':') + value + QLatin1Char(';');
    };
    if (!info.family().isEmpty())
        add(QLatin1String("font-family"), quotedFamily(info.family()));
    const qreal points = std::round(info.pointSizeF() * 10) / 10;
    if (points > 0)
        add(QLatin1String("font-size"), QString::number(points) + QLatin1String("pt"));
    add(QLatin1String("font-weight"),
        font.weight() > QFont::Normal ? QStringLiteral("bold") : QStringLiteral("normal"));
    add(QLatin1String("font-style"), font.style() == QFont::StyleItalic    ? QStringLiteral("italic")
                                     : font.style() == QFont::StyleOblique ? QStringLiteral("oblique")
                                                                           : QStringLiteral("normal"));
    add(QLatin1String("text-line-through-type"),
        strikeOut ? QStringLiteral("single") : QStringLiteral("none"));
    if (const QString style = underlineValue(underline); !style.isEmpty()) {
        add(QLatin1String("text-underline-style"), style);
        add(QLatin1String("text-underline-type"), QStringLiteral("single"));
    }
    add(QLatin1String("text-position"), QStringLiteral("baseline"));
    if (background)
        add(QLatin1String("background-color"), rgb(*background));
    add(QLatin1String("color"), rgb(foreground));
    return attributes;
}

} // namespace

AccessibleTextAttributes::Run AccessibleTextAttributes::around(const LayoutTextNode &node, int position,
                                                               Appearance appearance, QColor defaultColor)
{
    const LayoutTextContent &content = node.content();
    const int length = content.length();
    if (length == 0)
        return {0, 0, attributesAt(content, 0, appearance, defaultColor)};
    position = std::clamp(position, 0, length - 1);

    // Where any attribute may change.
    std::vector<int> edges{0, length};
    const auto addEdges = [&edges](int start, int runLength) {
        edges.push_back(start);
        edges.push_back(start + runLength);
    };
    for (const QTextLayout::FormatRange &range : content.formats)
        addEdges(range.start, range.length);
    for (const LayoutTextContent::ColorRun &run : content.colorRuns)
        addEdges(run.start, run.length);
    for (const LayoutTextContent::LinkRun &link : content.links)
        addEdges(link.start, link.length);
    for (const LayoutTextContent::Image &image : content.images)
        addEdges(image.position, 1);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    edges.erase(
        std::remove_if(edges.begin(), edges.end(), [length](int edge) { return edge < 0 || edge > length; }),
        edges.end());

    // The piece between edges holding the position, widened over neighbours that read alike.
    auto after = std::upper_bound(edges.begin(), edges.end(), position);
    size_t first = size_t(after - edges.begin()) - 1;
    size_t last = first + 1;
    // A link is a run of its own.
    const auto reading = [&](int at) {
        return std::pair(attributesAt(content, at, appearance, defaultColor), content.linkAtPosition(at));
    };
    const auto here = reading(position);
    while (first > 0 && reading(edges[first - 1]) == here)
        --first;
    while (last + 1 < edges.size() && reading(edges[last]) == here)
        ++last;
    return {edges[first], edges[last], here.first};
}

} // namespace kestrune
