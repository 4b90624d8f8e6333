#include "previewlooktheme.h"

#include "ui/dynamiccolor.h"

namespace {

constexpr DynamicColor primary = dynamicColor(1.0f, 1.0f, 1.0f, 0.92f, 0.12f, 0.16f, 0.22f, 0.95f);
constexpr DynamicColor secondary = dynamicColor(1.0f, 1.0f, 1.0f, 0.6f, 0.29f, 0.35f, 0.45f, 0.72f);
constexpr DynamicColor accent = dynamicColor(0.28f, 0.6f, 1.0f, 1.0f, 0.23f, 0.5f, 0.95f, 1.0f);
constexpr DynamicColor codeBackground = dynamicColor(1.0f, 1.0f, 1.0f, 0.08f, 0.3f, 0.36f, 0.47f, 0.08f);
constexpr DynamicColor rule = dynamicColor(1.0f, 1.0f, 1.0f, 0.14f, 0.57f, 0.63f, 0.72f, 0.26f);

using RS = RelativeSize;

BlockStyle<BlockConfiguration> heading(int level, QFont::Weight weight, qreal size, qreal top, qreal bottom,
                                       DynamicColor color)
{
    return [=](const BlockConfiguration &configuration) {
        BlockView text = configuration.label;
        if (level <= 2)
            text = text.padding(BlockView::bottom, RS::em(0.2));
        text = text.lineSpacing(RS::em(0.125))
                   .margin(top, bottom)
                   .textStyle(TextStyle::fontWeight(weight) + TextStyle::fontSize(RS::em(size)) +
                              TextStyle::foregroundColor(color));
        if (level > 2)
            return text;
        return BlockView::vstack({text, BlockView::divider(rule).padding(BlockView::top, 4)});
    };
}

} // namespace

Theme PreviewLookTheme::make()
{
    Theme theme;
    theme.text = TextStyle::foregroundColor(primary) + TextStyle::fontSize(17);
    theme.code = TextStyle::fontFamilyVariant(FontProperties::FamilyVariant::monospaced) +
                 TextStyle::fontSize(RS::em(0.92)) + TextStyle::foregroundColor(primary) +
                 TextStyle::backgroundColor(codeBackground);
    theme.strong = TextStyle::fontWeight(QFont::DemiBold);
    theme.link = TextStyle::foregroundColor(accent);

    theme.headings = {
        heading(1, QFont::Bold, 1.85, 24, 12, primary),
        heading(2, QFont::DemiBold, 1.45, 22, 10, primary),
        heading(3, QFont::DemiBold, 1.2, 18, 8, primary),
        heading(4, QFont::DemiBold, 1.05, 16, 6, primary),
        heading(5, QFont::DemiBold, 0.95, 14, 4, primary),
        heading(6, QFont::DemiBold, 0.88, 12, 4, secondary),
    };

    theme.paragraph = [](const BlockConfiguration &configuration) {
        return configuration.label.fixedSize().lineSpacing(RS::em(0.36)).margin(0, 14);
    };

    theme.blockquote = [](const BlockConfiguration &configuration) {
        return BlockView::hstack({BlockView::rectangle(rule, 2).frame(4),
                                  configuration.label.textStyle(TextStyle::foregroundColor(secondary))
                                      .padding(BlockView::leading, RS::em(0.8))})
            .fixedSize()
            .margin(0, 14);
    };

    theme.codeBlock = [](const CodeBlockConfiguration &configuration) {
        const BlockView code =
            configuration.label.fixedSize()
                .lineSpacing(RS::em(0.22))
                .padding(BlockView::horizontal, RS::em(0.75))
                .padding(BlockView::vertical, RS::em(0.4))
                .textStyle(TextStyle::fontFamilyVariant(FontProperties::FamilyVariant::monospaced) +
                           TextStyle::fontSize(RS::em(0.9)) + TextStyle::foregroundColor(primary));
        return BlockView::horizontalScroll(code).padding(12).background(codeBackground).clip(6).margin(0, 14);
    };

    theme.listItem = [](const BlockConfiguration &configuration) {
        return configuration.label.lineSpacing(RS::em(0.28)).margin(RS::em(0.15), RS::em(0.15));
    };

    theme.tableCell = [](const TableCellConfiguration &configuration) {
        return configuration.label
            .textStyle(configuration.row == 0 ? TextStyle::fontWeight(QFont::DemiBold) : TextStyle())
            .fixedSize()
            .lineSpacing(RS::em(0.28))
            .padding(BlockView::horizontal, RS::em(0.75))
            .padding(BlockView::vertical, RS::em(0.5));
    };

    theme.thematicBreak = [] { return BlockView::divider(rule).margin(RS::em(1.5), RS::em(1.5)); };
    return theme;
}
