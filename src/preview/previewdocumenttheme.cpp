#include "preview/previewdocumenttheme.h"

#include "preview/previewcolors.h"

#include "ui/localization.h"

namespace kestrune {

namespace {

using RS = RelativeSize;

// Editor-like colours for code by language, dark quadruple first, light second. Each reads on
// the code block's tint at 4.5:1 at least, in its appearance.
constexpr CodeTokenPalette codeTokenPalette{{
    dynamicColor(0.84f, 0.62f, 0.90f, 1.0f, 0.61f, 0.14f, 0.61f, 1.0f), // keyword: purple
    dynamicColor(0.90f, 0.75f, 0.48f, 1.0f, 0.49f, 0.32f, 0.00f, 1.0f), // built-in: amber
    dynamicColor(0.34f, 0.83f, 0.87f, 1.0f, 0.04f, 0.39f, 0.47f, 1.0f), // type: teal
    dynamicColor(0.45f, 0.72f, 0.94f, 1.0f, 0.16f, 0.33f, 0.75f, 1.0f), // title: blue
    dynamicColor(0.60f, 0.76f, 0.47f, 1.0f, 0.19f, 0.40f, 0.16f, 1.0f), // string: green
    dynamicColor(0.85f, 0.66f, 0.49f, 1.0f, 0.58f, 0.28f, 0.00f, 1.0f), // number: orange
    dynamicColor(0.85f, 0.66f, 0.49f, 1.0f, 0.58f, 0.28f, 0.00f, 1.0f), // literal: as numbers
    dynamicColor(0.68f, 0.71f, 0.74f, 1.0f, 0.34f, 0.37f, 0.40f, 1.0f), // comment: grey
    dynamicColor(0.82f, 0.66f, 1.00f, 1.0f, 0.44f, 0.26f, 0.73f, 1.0f), // meta: violet
    dynamicColor(0.92f, 0.62f, 0.64f, 1.0f, 0.68f, 0.12f, 0.30f, 1.0f), // tag: rose
    dynamicColor(0.85f, 0.66f, 0.49f, 1.0f, 0.49f, 0.32f, 0.00f, 1.0f), // attribute: ochre
    dynamicColor(0.92f, 0.62f, 0.64f, 1.0f, 0.68f, 0.12f, 0.30f, 1.0f), // variable: as tags
    dynamicColor(0.41f, 0.75f, 0.79f, 1.0f, 0.04f, 0.39f, 0.47f, 1.0f), // regexp: cyan
    dynamicColor(0.49f, 0.91f, 0.53f, 1.0f, 0.08f, 0.41f, 0.18f, 1.0f), // addition: green
    dynamicColor(1.00f, 0.63f, 0.60f, 1.0f, 0.72f, 0.11f, 0.16f, 1.0f), // deletion: red
    dynamicColor(0.45f, 0.72f, 0.94f, 1.0f, 0.16f, 0.33f, 0.75f, 1.0f), // section: as titles
    dynamicColor(0.41f, 0.75f, 0.79f, 1.0f, 0.04f, 0.39f, 0.47f, 1.0f), // link: cyan
    dynamicColor(0.84f, 0.62f, 0.90f, 1.0f, 0.61f, 0.14f, 0.61f, 1.0f), // emphasis: as keywords
}};
static_assert(codeTokenPalette.colors.size() == codeTokenKindCount);

struct HeadingLook
{
    QFont::Weight weight;
    qreal size; // em
    qreal marginTop;
    qreal marginBottom;
    DynamicColor color;
    bool rule;
};

BlockStyle<BlockConfiguration> heading(const HeadingLook &look)
{
    return [look](const BlockConfiguration &configuration) {
        BlockView text = configuration.label;
        if (look.rule)
            text = text.padding(BlockView::bottom, RS::em(0.2));
        text = text.lineSpacing(RS::em(0.125))
                   .margin(look.marginTop, look.marginBottom)
                   .textStyle(TextStyle::fontWeight(look.weight) + TextStyle::fontSize(RS::em(look.size)) +
                              TextStyle::foregroundColor(look.color));
        if (!look.rule)
            return text;
        return BlockView::vstack({text, BlockView::divider(PreviewColors::rule).padding(BlockView::top, 4)});
    };
}

// Notes in a smaller size and the secondary colour, the first below a rule across the page.
BlockStyle<FootnoteConfiguration> footnote()
{
    return [](const FootnoteConfiguration &configuration) {
        BlockView note = configuration.label.lineSpacing(RS::em(0.3))
                             .textStyle(TextStyle::fontSize(RS::em(0.85)) +
                                        TextStyle::foregroundColor(PreviewColors::secondaryText))
                             .margin(0, 4);
        if (configuration.number != 1)
            return note;
        return BlockView::vstack({BlockView::divider(PreviewColors::rule), note.padding(BlockView::top, 12)})
            .margin(28, 4);
    };
}

// Whether a fence's info string names a Mermaid diagram.
bool isMermaid(const std::optional<QString> &fenceInfo)
{
    if (!fenceInfo)
        return false;
    const QStringView info = QStringView(*fenceInfo).trimmed();
    const qsizetype end = info.indexOf(QLatin1Char(' '));
    return info.left(end).compare(u"mermaid", Qt::CaseInsensitive) == 0;
}

} // namespace

Theme PreviewDocumentTheme::make()
{
    constexpr DynamicColor primary = PreviewColors::primaryText;
    constexpr DynamicColor secondary = PreviewColors::secondaryText;
    const TextStyle monospaced = TextStyle::fontFamilyVariant(FontProperties::FamilyVariant::monospaced);

    Theme theme;
    theme.text = TextStyle::foregroundColor(primary) + TextStyle::fontSize(17);
    theme.code = monospaced + TextStyle::fontSize(RS::em(0.92)) + TextStyle::foregroundColor(primary) +
                 TextStyle::backgroundColor(PreviewColors::codeBackground);
    theme.strong = TextStyle::fontWeight(QFont::DemiBold);
    theme.link = TextStyle::foregroundColor(PreviewColors::accent);
    theme.codeTokens = codeTokenPalette;

    theme.headings = {
        heading({QFont::Bold, 1.85, 24, 12, primary, true}),
        heading({QFont::DemiBold, 1.45, 22, 10, primary, true}),
        heading({QFont::DemiBold, 1.2, 18, 8, primary, false}),
        heading({QFont::DemiBold, 1.05, 16, 6, primary, false}),
        heading({QFont::DemiBold, 0.95, 14, 4, primary, false}),
        heading({QFont::DemiBold, 0.88, 12, 4, secondary, false}),
    };

    theme.paragraph = [](const BlockConfiguration &configuration) {
        return configuration.label.fixedSize().lineSpacing(RS::em(0.36)).margin(0, 14);
    };

    theme.blockquote = [secondary](const BlockConfiguration &configuration) {
        const BlockView bar = BlockView::rectangle(PreviewColors::rule, 2).frame(4);
        const BlockView quoted = configuration.label.padding(BlockView::leading, RS::em(0.8))
                                     .textStyle(TextStyle::foregroundColor(secondary));
        return BlockView::hstack({bar, quoted}).fixedSize().margin(0, 14);
    };

    // Looked up here, on the window's thread: blocks may be built on the read pool.
    const QString mermaidCaption = Localization::text("markdown.mermaid_caption");
    theme.codeBlock = [primary, secondary, monospaced,
                       mermaidCaption](const CodeBlockConfiguration &configuration) {
        const BlockView code = configuration.label.fixedSize()
                                   .lineSpacing(RS::em(0.22))
                                   .padding(BlockView::horizontal, RS::em(0.75))
                                   .padding(BlockView::vertical, RS::em(0.4))
                                   .textStyle(monospaced + TextStyle::fontSize(RS::em(0.9)) +
                                              TextStyle::foregroundColor(primary));
        BlockView content = BlockView::horizontalScroll(code, true);
        // The diagram is not drawn; a caption under its source says what the code is. It is
        // no part of the code: not selected, copied or found with it.
        if (isMermaid(configuration.language))
            content = BlockView::vstack({content, BlockView::text(mermaidCaption)
                                                      .padding(BlockView::horizontal, RS::em(0.75))
                                                      .padding(BlockView::top, RS::em(0.3))
                                                      .textStyle(TextStyle::fontSize(RS::em(0.75)) +
                                                                 TextStyle::foregroundColor(secondary))
                                                      .unselectable()});
        return content.padding(12).background(PreviewColors::codeBackground).clip(6).margin(0, 14);
    };

    theme.listItem = [](const BlockConfiguration &configuration) {
        return configuration.label.lineSpacing(RS::em(0.28)).margin(RS::em(0.15), RS::em(0.15));
    };

    // A table is a block of the reading flow like a paragraph, so it keeps the same space below;
    // without it the bottom border touches the text that follows.
    theme.table = [](const BlockConfiguration &configuration) { return configuration.label.margin(0, 14); };

    theme.tableCell = [](const TableCellConfiguration &configuration) {
        const TextStyle header =
            configuration.row == 0 ? TextStyle::fontWeight(QFont::DemiBold) : TextStyle();
        return configuration.label.textStyle(header)
            .fixedSize()
            .lineSpacing(RS::em(0.28))
            .padding(BlockView::horizontal, RS::em(0.75))
            .padding(BlockView::vertical, RS::em(0.5));
    };

    theme.thematicBreak = [] {
        return BlockView::divider(PreviewColors::rule).margin(RS::em(1.5), RS::em(1.5));
    };
    theme.footnote = footnote();
    return theme;
}

} // namespace kestrune
