#pragma once

#include "markdown/layout/style/blockstyle.h"
#include "markdown/layout/style/codetokenpalette.h"
#include "markdown/layout/style/textstyle.h"
#include "ui/dynamiccolor.h"

#include <array>
#include <optional>

namespace kestrune {

// What a theme marks the matches of a find with, and the current one; also for views that
// show text without a theme (the source of a document).
inline constexpr DynamicColor findMatchTint =
    dynamicColor(1.0f, 0.84f, 0.04f, 0.32f, 1.0f, 0.84f, 0.04f, 0.45f);
inline constexpr DynamicColor currentFindMatchTint =
    dynamicColor(1.0f, 0.55f, 0.0f, 0.80f, 1.0f, 0.58f, 0.0f, 0.80f);

// The set of styles a document is drawn with: text styles for the inline kinds and a block
// style per block kind. A Theme is a plain value; start from the default and replace entries:
//
//     Theme theme;
//     theme.text = TextStyle::fontSize(17) + TextStyle::foregroundColor(primary);
//     theme.paragraph = [](const BlockConfiguration &c) { return c.label.margin(0, 14); };
//
// The defaults draw every block label unchanged (no margins, no decoration), code in the
// monospaced design, emphasis italic, strong text semibold, strike-through with a single line,
// bullets by level, decimal numbers and check boxes as list markers, a divider line as the
// thematic break, and code blocks without colours by language.
struct Theme
{
    Theme();

    TextStyle text;
    TextStyle code;
    TextStyle emphasis;
    TextStyle strong;
    TextStyle strikethrough;
    TextStyle link;
    // Text between the raw tags <ins> and </ins>, <del> and </del>: underlined and struck
    // through, each on a tint, so that the marks read with and without colour.
    TextStyle inserted;
    TextStyle deleted;
    // Behind the matches of a find, and behind the current one.
    DynamicColor findMatch;
    DynamicColor currentFindMatch;
    // The colours of code by language: without them, and without a highlighter of the
    // environment's, code blocks are drawn in the code block style's one colour.
    std::optional<CodeTokenPalette> codeTokens;
    std::array<BlockStyle<BlockConfiguration>, 6> headings; // levels 1 to 6
    BlockStyle<BlockConfiguration> paragraph;
    BlockStyle<BlockConfiguration> blockquote;
    BlockStyle<CodeBlockConfiguration> codeBlock;
    BlockStyle<BlockConfiguration> image;
    BlockStyle<BlockConfiguration> list;
    BlockStyle<BlockConfiguration> listItem;
    BlockStyle<TaskListMarkerConfiguration> taskListMarker;
    BlockStyle<ListMarkerConfiguration> bulletedListMarker;
    BlockStyle<ListMarkerConfiguration> numberedListMarker;
    BlockStyle<BlockConfiguration> table;
    BlockStyle<TableCellConfiguration> tableCell;
    BlockStyle<void> thematicBreak;

    // Footnotes, gathered at the end of the document: the defaults set them in a smaller size,
    // the first below a thin rule (NoteStyles).
    BlockStyle<FootnoteConfiguration> footnote;
    // Quotes that open with an alert marker: by default a bar and a title row in the kind's
    // accent colour (NoteStyles::alertAccent) above the body.
    BlockStyle<AlertConfiguration> alert;

    // The style of a heading level (clamped to 1 to 6).
    const BlockStyle<BlockConfiguration> &heading(int level) const;
};

} // namespace kestrune
