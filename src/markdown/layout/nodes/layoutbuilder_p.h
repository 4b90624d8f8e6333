#pragma once

#include "markdown/document/blocknode.h"
#include "markdown/layout/style/blockmargin.h"
#include "markdown/layout/style/blockview.h"
#include "markdown/layout/style/blockviewnode_p.h"
#include "markdown/layout/style/markdownenvironment.h"
#include "markdown/layout/style/textattributes.h"
#include "markdown/layout/text/inlinetextrenderer.h"
#include "markdown/layout/text/styledtext.h"

#include <memory>
#include <optional>
#include <vector>

namespace kestrune {

class LayoutNode;
struct LayoutBuildContext;

// Turns blocks into layout nodes: each block becomes its label, goes through the theme's
// style, and the style's view becomes nodes, with the text style, line spacing, list level and
// tight spacing in force at each point.
class LayoutBuilder
{
public:
    // The values in force at a point of the page.
    struct State
    {
        TextAttributes attributes;
        qreal lineSpacing = 0;
        int listLevel = 0;
        bool tightSpacing = false;
        bool selectable = true;
        int container = -1; // the innermost TextStructure container
    };

    struct Result
    {
        std::unique_ptr<LayoutNode> node;
        BlockMargin margin;
    };

    LayoutBuilder(const MarkdownEnvironment &environment, LayoutBuildContext &context);

    // Where a document starts: the default font properties at 13 points, then the theme's
    // text style.
    static State documentState(const Theme &theme);

    // `position` is the block's place among its siblings (a top-level block's index in the page).
    Result buildBlock(const BlockNode &block, const State &state, int position = 0);
    Result build(const BlockView &view, const State &state);
    // The selectable texts buildBlock would make of `block`, in document order, without building
    // any node (a copy reads parked blocks so); none when the block shows pictures, whose texts
    // depend on what has arrived.
    std::optional<std::vector<StyledText>> selectableTexts(const BlockNode &block, const State &state);

private:
    BlockView blockView(const BlockNode &block);
    Result buildStack(const BlockViewNode &node, const State &state);
    std::unique_ptr<LayoutNode> symbolNode(const BlockViewNode &node, const State &state);
    // The content of a modifier that wraps it (in a box, a scroll view) or declares its margins.
    Result buildWrapped(const BlockViewNode &modifier, const State &state);
    Result buildBlockSequence(const QList<BlockNode> &blocks, const State &state);
    Result buildList(const BlockNode &block, const State &state);
    Result buildTable(const BlockNode &block, const State &state);
    Result buildFootnote(const BlockNode &block, const State &state);
    Result buildInlineText(const BlockViewNode &node, const State &state);
    InlineTextRenderer::Options inlineTextOptions() const;
    // Appends the selectable texts of a view to `texts` as build() would make them; false when
    // it meets a picture.
    bool collectTexts(const BlockView &view, const State &state, std::vector<StyledText> &texts);
    std::unique_ptr<LayoutNode> buildImage(const RawImageData &image, const State &state);
    Result buildImageFlow(const QList<BlockViewNode::FlowItem> &items, const State &state);
    std::unique_ptr<LayoutNode> textNode(const StyledText &text, const State &state, bool wraps);
    std::optional<QUrl> imageUrl(const QString &source) const;
    // Whether the picture at `url` is a web one the environment does not load.
    bool isWithheld(const QUrl &url) const;

    const MarkdownEnvironment &m_environment;
    LayoutBuildContext &m_context;
};

} // namespace kestrune
