#pragma once

#include "markdown/document/blocknode.h"
#include "markdown/layout/style/blockview.h"
#include "markdown/layout/style/codehighlightrange.h"
#include "markdown/layout/style/rawimagedata.h"

#include <QList>

#include <optional>
#include <variant>

namespace kestrune {

// The inside of a BlockView: one kind and the fields it uses. Descriptions are transient: the
// layout builder turns them into layout nodes as soon as a block is built.
struct BlockViewNode
{
    enum class Kind
    {
        empty,
        vstack,
        hstack,
        divider,
        rectangle,
        symbol,
        text,
        horizontalScroll,
        // modifiers, with one child
        textStyle,
        lineSpacing,
        unselectable,
        padding,
        margin,
        background,
        clip,
        frame,
        // the engine's labels
        inlineText,
        codeText,
        plainText,
        blockSequence,
        list,
        table,
        imageBlock,
        imageFlow,
        footnote,
        decoration,
    };

    // An item of an image flow.
    struct FlowBreak
    {
    };
    using FlowItem = std::variant<RawImageData, FlowBreak>;

    Kind kind = Kind::empty;
    QList<BlockView> children;
    BlockView::HorizontalAlignment horizontalAlignment = BlockView::HorizontalAlignment::leading;
    BlockView::VerticalAlignment verticalAlignment = BlockView::VerticalAlignment::top;
    qreal spacing = 0;
    std::optional<DynamicColor> color;
    qreal cornerRadius = 0;
    QString string; // symbol name, text, heading identifier
    qreal fraction = 1;
    QFont::Weight weight = QFont::Normal;
    bool showsIndicators = true;
    TextStyle style;
    std::optional<Length> lineSpacing;
    std::optional<Length> padding;
    int edges = 0; // the BlockView::Edge values the padding applies to
    std::optional<Length> marginTop;
    std::optional<Length> marginBottom;
    std::optional<Length> frameWidth;
    std::optional<Length> frameHeight;
    std::optional<Length> minWidth; // of a frame
    QList<InlineNode> inlines;
    QList<BlockNode> blocks; // a block sequence, or the one list, table or footnote block
    QList<CodeHighlightRange> highlights;
    RawImageData image;
    QList<FlowItem> flowItems;
};

// The engine's labels, which only the builder makes.
namespace EngineViews {

BlockView inlineText(const QList<InlineNode> &inlines, const QString &identifier = {});
BlockView codeText(const QString &code, const QList<CodeHighlightRange> &highlights);
BlockView plainText(const QString &text);
BlockView blockSequence(const QList<BlockNode> &blocks);
BlockView list(const BlockNode &list);
BlockView table(const BlockNode &table);
BlockView imageBlock(const RawImageData &image);
BlockView imageFlow(const QList<BlockViewNode::FlowItem> &items);
// A footnote: its number beside its blocks, the last of which ends in a link back.
BlockView footnote(const BlockNode &definition);
// Its content drawn only: texts in it are not selected, found, copied or read out.
BlockView decoration(const BlockView &content);

} // namespace EngineViews

} // namespace kestrune
