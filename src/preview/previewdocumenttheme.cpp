#include "preview/previewdocumenttheme.h"

#include "preview/previewcolors.h"

namespace kestrune {

namespace {

using RS = RelativeSize;

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
        const BlockView note = configuration.label.lineSpacing(RS::em(0.3))
                                   .textStyle(TextStyle::fontSize(RS::em(0.85)) +
                                              TextStyle::foregroundColor(PreviewColors::secondaryText))
                                   .margin(0, 4);
        if (configuration.number != 1)
            return note;
        return BlockView::vstack({BlockView::divider(PreviewColors::rule), note.padding(BlockView::top, 12)})
            .margin(28, 4);
    };
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

    theme.codeBlock = [primary, monospaced](const CodeBlockConfiguration &configuration) {
        const BlockView code = configuration.label.fixedSize()
                                   .lineSpacing(RS::em(0.22))
                                   .padding(BlockView::horizontal, RS::em(0.75))
                                   .padding(BlockView::vertical, RS::em(0.4))
                                   .textStyle(monospaced + TextStyle::fontSize(RS::em(0.9)) +
                                              TextStyle::foregroundColor(primary));
        return BlockView::horizontalScroll(code, true)
            .padding(12)
            .background(PreviewColors::codeBackground)
            .clip(6)
            .margin(0, 14);
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
