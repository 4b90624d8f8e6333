#include "markdown/layout/nodes/layoutbuilder_p.h"

#include "markdown/images/documentimageprovider.h"

#include "markdown/layout/nodes/inlinequeries_p.h"
#include "markdown/layout/nodes/layoutboxnode_p.h"
#include "markdown/layout/nodes/layoutbuildcontext_p.h"
#include "markdown/layout/nodes/layoutflownode_p.h"
#include "markdown/layout/nodes/layoutimagenode_p.h"
#include "markdown/layout/nodes/layoutimagestore_p.h"
#include "markdown/layout/nodes/layoutlistnode_p.h"
#include "markdown/layout/nodes/layoutscrollnode_p.h"
#include "markdown/layout/nodes/layoutsequencenode_p.h"
#include "markdown/layout/nodes/layoutshapenode_p.h"
#include "markdown/layout/nodes/layoutstacknode_p.h"
#include "markdown/layout/nodes/layoutsymbolnode_p.h"
#include "markdown/layout/nodes/layouttablenode_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"
#include "markdown/layout/style/notestyles.h"
#include "markdown/layout/text/codeblockhighlighter_p.h"
#include "markdown/layout/text/inlinetextrenderer.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace kestrune {

namespace {

using Kind = BlockViewNode::Kind;

QString withoutFinalLineFeed(const QString &text)
{
    return text.endsWith(QLatin1Char('\n')) ? text.left(text.size() - 1) : text;
}

BlockView::HorizontalAlignment columnAlignment(RawTableColumnAlignment alignment)
{
    switch (alignment) {
    case RawTableColumnAlignment::center:
        return BlockView::HorizontalAlignment::center;
    case RawTableColumnAlignment::right:
        return BlockView::HorizontalAlignment::trailing;
    case RawTableColumnAlignment::none:
    case RawTableColumnAlignment::left:
        break;
    }
    return BlockView::HorizontalAlignment::leading;
}

// A note's blocks with the link back to its first reference at the end: after the text of a
// closing paragraph, or in a paragraph of its own. The blocks before keep their places, so
// copies still find them in the document.
QList<BlockNode> withBackLink(const Block::FootnoteDefinition &note)
{
    const QString destination = u'#' + QString::fromLatin1(QUrl::toPercentEncoding(
                                           InlineTextRenderer::footnoteReferenceIdentifier(note.label)));
    const InlineNode link = Inline::Link{destination, {Inline::Text{QStringLiteral("\u21a9")}}};
    QList<BlockNode> blocks = note.children;
    if (!blocks.isEmpty() && blocks.last().kind() == BlockNode::Kind::paragraph) {
        QList<InlineNode> inlines = blocks.last().as<Block::Paragraph>()->content;
        inlines.append({Inline::Text{QStringLiteral(" ")}, link});
        blocks.last() = BlockNode(Block::Paragraph{std::move(inlines)}, blocks.last().sourceLine());
    } else {
        blocks.append(Block::Paragraph{{link}});
    }
    return blocks;
}

std::unique_ptr<LayoutNode> emptyNode()
{
    return std::make_unique<LayoutStackNode>(LayoutStackNode::Axis::vertical, 0,
                                             BlockView::HorizontalAlignment::leading,
                                             BlockView::VerticalAlignment::top);
}

// A divider or a rectangle; a divider on its own runs across the offered width.
std::unique_ptr<LayoutNode> shapeNode(const BlockViewNode &node)
{
    const DynamicColor color = node.color.value_or(LayoutShapeNode::separatorColor);
    if (node.kind == Kind::divider)
        return std::make_unique<LayoutShapeNode>(LayoutShapeNode::Kind::horizontalDivider, color);
    return std::make_unique<LayoutShapeNode>(LayoutShapeNode::Kind::rectangle, color, node.cornerRadius);
}

StyledText uniformText(const QString &string, const TextAttributes &attributes)
{
    StyledText text;
    text.append(string, attributes);
    return text;
}

// The code in the text style in force, each highlighted range in its style on top. Ranges are
// clamped to the code and to the end of the range before, so a highlighter that returns
// overlapping or out-of-range ranges cannot repeat or lose text.
StyledText highlightedCode(const BlockViewNode &node, const TextAttributes &attributes)
{
    const QStringView code(node.string);
    StyledText text;
    int position = 0;
    for (const CodeHighlightRange &range : node.highlights) {
        const int start = std::clamp(range.start, position, int(code.size()));
        const int end = std::clamp(range.start + range.length, start, int(code.size()));
        text.append(code.mid(position, start - position), attributes);
        text.append(code.mid(start, end - start), range.style.applied(attributes));
        position = end;
    }
    text.append(code.mid(position), attributes);
    return text;
}

// The state a text style, line spacing or unselectable modifier builds its content in.
LayoutBuilder::State stateInside(const BlockViewNode &modifier, const LayoutBuilder::State &state)
{
    LayoutBuilder::State inner = state;
    if (modifier.kind == Kind::textStyle)
        modifier.style.apply(inner.attributes);
    else if (modifier.kind == Kind::unselectable)
        inner.selectable = false;
    else
        inner.lineSpacing = modifier.lineSpacing ? modifier.lineSpacing->points(state.attributes) : 0;
    return inner;
}

QMarginsF paddingMargins(const BlockViewNode &padding, const TextAttributes &attributes)
{
    const qreal length = padding.padding ? padding.padding->points(attributes) : 0;
    const int edges = padding.edges;
    return QMarginsF(edges & BlockView::leading ? length : 0, edges & BlockView::top ? length : 0,
                     edges & BlockView::trailing ? length : 0, edges & BlockView::bottom ? length : 0);
}

BlockMargin declaredMargin(const BlockViewNode &margin, const TextAttributes &attributes)
{
    BlockMargin declared;
    if (margin.marginTop)
        declared.top = margin.marginTop->points(attributes);
    if (margin.marginBottom)
        declared.bottom = margin.marginBottom->points(attributes);
    return declared;
}

LayoutBoxNode::Frame frameOf(const BlockViewNode &frame, const TextAttributes &attributes)
{
    LayoutBoxNode::Frame result;
    if (frame.frameWidth)
        result.width = frame.frameWidth->points(attributes);
    if (frame.frameHeight)
        result.height = frame.frameHeight->points(attributes);
    if (frame.minWidth)
        result.minWidth = frame.minWidth->points(attributes);
    result.alignment = frame.horizontalAlignment;
    return result;
}

} // namespace

LayoutBuilder::LayoutBuilder(const MarkdownEnvironment &environment, LayoutBuildContext &context)
    : m_environment(environment), m_context(context)
{}

LayoutBuilder::State LayoutBuilder::documentState(const Theme &theme)
{
    State state;
    state.attributes = theme.text.applied(TextAttributes::documentDefault());
    return state;
}

BlockView LayoutBuilder::blockView(const BlockNode &block)
{
    const Theme &theme = m_environment.theme;
    const auto content = [&block] { return MarkdownContent(QList<BlockNode>{block}); };
    switch (block.kind()) {
    case BlockNode::Kind::paragraph: {
        const QList<InlineNode> &inlines = block.as<Block::Paragraph>()->content;
        BlockView label;
        if (const std::optional<RawImageData> image = InlineQueries::soleImage(inlines))
            label = theme.image.build({EngineViews::imageBlock(*image), content()});
        else if (const auto items = InlineQueries::imageFlowItems(inlines))
            label = EngineViews::imageFlow(*items);
        else
            label = EngineViews::inlineText(inlines);
        return theme.paragraph.build({label, content()});
    }
    case BlockNode::Kind::heading: {
        const auto &heading = *block.as<Block::Heading>();
        return theme.heading(heading.level)
            .build(
                {EngineViews::inlineText(heading.content, InlineQueries::headingIdentifier(heading.content)),
                 content()});
    }
    case BlockNode::Kind::blockquote: {
        const auto &quote = *block.as<Block::Blockquote>();
        const BlockView body = EngineViews::blockSequence(quote.children);
        if (quote.alert == AlertKind::none)
            return theme.blockquote.build({body, content()});
        const QString title = NoteStyles::alertTitle(quote.alert);
        return theme.alert.build({quote.alert, title, NoteStyles::alertSymbol(quote.alert),
                                  EngineViews::decoration(BlockView::text(title)), body, content()});
    }
    case BlockNode::Kind::bulletedList:
    case BlockNode::Kind::numberedList:
    case BlockNode::Kind::taskList:
        return theme.list.build({EngineViews::list(block), content()});
    case BlockNode::Kind::codeBlock: {
        const auto &code = *block.as<Block::CodeBlock>();
        const QString text = CodeBlockHighlighter::displayedCode(code);
        QList<CodeHighlightRange> highlights;
        if (m_environment.codeSyntaxHighlighter)
            highlights = m_environment.codeSyntaxHighlighter(text, code.fenceInfo);
        else if (theme.codeTokens)
            highlights = CodeBlockHighlighter::ranges(text, code.fenceInfo, *theme.codeTokens);
        return theme.codeBlock.build({code.fenceInfo, text, EngineViews::codeText(text, highlights)});
    }
    case BlockNode::Kind::htmlBlock:
        return theme.paragraph.build(
            {EngineViews::plainText(withoutFinalLineFeed(block.as<Block::HtmlBlock>()->content)), content()});
    case BlockNode::Kind::table:
        return theme.table.build({EngineViews::table(block), content()});
    case BlockNode::Kind::thematicBreak:
        return theme.thematicBreak.build();
    case BlockNode::Kind::footnoteDefinition: {
        const auto &note = *block.as<Block::FootnoteDefinition>();
        return theme.footnote.build({note.number, note.label, EngineViews::footnote(block), content()});
    }
    }
    return {};
}

LayoutBuilder::Result LayoutBuilder::buildBlock(const BlockNode &block, const State &outer, int position)
{
    TextStructure &structure = m_context.textStructure;
    State state = outer;
    state.container = structure.openBlock(block.kind(), outer.container, position, m_context.nextTextIndex());
    Result result = build(blockView(block), state);
    structure.setNode(state.container, result.node.get());
    return result;
}

std::unique_ptr<LayoutNode> LayoutBuilder::textNode(const StyledText &text, const State &state, bool wraps)
{
    auto node = std::make_unique<LayoutTextNode>(
        text,
        LayoutTextNode::Options{state.lineSpacing, wraps, m_context.devicePixelRatio, &m_context.textLayouts},
        m_context.fonts);
    if (state.selectable) {
        m_context.addText(node.get(), state.container);
    }
    return node;
}

std::optional<QUrl> LayoutBuilder::imageUrl(const QString &source) const
{
    const QUrl url(source, QUrl::StrictMode);
    if (!url.isValid() || source.isEmpty())
        return std::nullopt;
    return m_environment.imageBaseUrl ? m_environment.imageBaseUrl->resolved(url) : url;
}

bool LayoutBuilder::isWithheld(const QUrl &url) const
{
    return !m_environment.loadsRemoteImages && DocumentImageProvider::isRemote(url);
}

LayoutBuilder::Result LayoutBuilder::buildInlineText(const BlockViewNode &view, const State &state)
{
    InlineTextRenderer::Options options = inlineTextOptions();
    const QStringList sources = InlineQueries::imageSources(view.inlines);
    QList<std::pair<QString, QUrl>> images;
    ImageProvider *provider = m_environment.inlineImageProvider.get();
    if (provider && m_context.images) {
        for (const QString &source : std::as_const(sources)) {
            const std::optional<QUrl> url = imageUrl(source);
            if (!url) {
                options.failedImages.insert(source);
                continue;
            }
            // Not asked for at all: the store would only hand it to the provider.
            if (isWithheld(*url)) {
                options.failedImages.insert(source);
                options.withheldImageHosts.insert(source, url->host());
                continue;
            }
            images.append({source, *url});
            if (const QImage *image = m_context.images->image(*url, provider))
                options.images.insert(source, *image);
            else if (m_context.images->hasFailed(*url, provider))
                options.failedImages.insert(source);
        }
        if (!options.failedImages.isEmpty())
            options.failedImageSymbol = InlineTextRenderer::failedImageSymbol(
                state.attributes.fontPropertiesOrDefault(), m_context.devicePixelRatio);
    }

    const StyledText text = InlineTextRenderer::render(view.inlines, options, state.attributes);
    std::unique_ptr<LayoutNode> node = textNode(text, state, true);
    auto *textNode = static_cast<LayoutTextNode *>(node.get());
    m_context.setIdentifier(textNode, view.string);
    for (const StyledText::Anchor &anchor : text.anchors)
        m_context.addAnchor(textNode->documentIndex(), anchor.identifier, anchor.position);
    if (textNode->documentIndex() >= 0 && !sources.isEmpty()) {
        const QStringList alternatives = InlineQueries::imageAlternatives(view.inlines);
        for (qsizetype index = 0; index < alternatives.size(); ++index)
            m_context.pictures.push_back(
                {textNode, textNode->documentIndex(), int(index), alternatives.at(index)});
    }
    if (!images.isEmpty())
        m_context.inlineImageTexts.push_back({textNode, view.inlines, options, state.attributes, images});
    return {std::move(node), {}};
}

InlineTextRenderer::Options LayoutBuilder::inlineTextOptions() const
{
    const Theme &theme = m_environment.theme;
    InlineTextRenderer::Options options;
    options.baseUrl = m_environment.baseUrl;
    options.styles = {theme.code, theme.emphasis, theme.strong, theme.strikethrough,
                      theme.link, theme.inserted, theme.deleted};
    options.softBreakMode = m_environment.softBreakMode;
    return options;
}

std::unique_ptr<LayoutNode> LayoutBuilder::buildImage(const RawImageData &image, const State &state)
{
    const std::optional<QUrl> resolved = imageUrl(image.source);
    const bool withheld = resolved && isWithheld(*resolved);
    // A withheld picture gets no URL: its node shows the fallback at once, and nothing is asked.
    const std::optional<QUrl> url = withheld ? std::nullopt : resolved;
    std::optional<QUrl> link;
    if (image.destination)
        link = InlineTextRenderer::linkUrl(*image.destination, m_environment.baseUrl);
    // Shown in the image's place when it cannot be loaded.
    StyledText failed;
    InlineTextRenderer::appendFailedImage(
        failed, image.source,
        InlineTextRenderer::failedImageSymbol(state.attributes.fontPropertiesOrDefault(),
                                              m_context.devicePixelRatio),
        withheld              ? InlineTextRenderer::withheldImageText(image.alt, resolved->host())
        : image.alt.isEmpty() ? image.source
                              : image.alt,
        state.attributes);
    State fallbackState = state;
    fallbackState.selectable = false;
    auto node = std::make_unique<LayoutImageNode>(
        url.value_or(QUrl()), link, m_context.images, m_environment.imageProvider.get(),
        m_context.devicePixelRatio, textNode(failed, fallbackState, true));
    if (url)
        m_context.imageNodes.insert(*url, node.get());
    m_context.pictures.push_back({node.get(), m_context.nextTextIndex(), -1, image.alt});
    return node;
}

LayoutBuilder::Result LayoutBuilder::buildList(const BlockNode &block, const State &outer)
{
    const Theme &theme = m_environment.theme;
    State state = outer;
    state.listLevel = outer.listLevel + 1;
    State markerState = state;
    markerState.selectable = false;

    const bool nested = outer.listLevel > 0;
    auto list = [&]() -> std::unique_ptr<LayoutListNode> {
        if (const auto *bulleted = block.as<Block::BulletedList>()) {
            state.tightSpacing = bulleted->isTight;
            return std::make_unique<LayoutListNode>(false, bulleted->isTight, nested);
        }
        if (const auto *ordered = block.as<Block::NumberedList>()) {
            state.tightSpacing = ordered->isTight;
            return std::make_unique<LayoutListNode>(true, ordered->isTight, nested);
        }
        state.tightSpacing = block.as<Block::TaskList>()->isTight;
        return std::make_unique<LayoutListNode>(false, state.tightSpacing, nested);
    }();
    markerState.tightSpacing = state.tightSpacing;

    BlockMargin margin;
    int itemIndex = 0;
    const auto appendItem = [&](const BlockView &marker, const QList<BlockNode> &children) {
        Result markerResult = build(marker, markerState);
        State itemState = state;
        itemState.container =
            m_context.textStructure.openListItem(outer.container, itemIndex++, m_context.nextTextIndex());
        Result content =
            build(theme.listItem.build({EngineViews::blockSequence(children), MarkdownContent(children)}),
                  itemState);
        const BlockMargin itemMargin = content.margin.combined(markerResult.margin);
        margin = margin.combined(itemMargin);
        list->append(std::move(markerResult.node), std::move(content.node), itemMargin);
    };

    if (const auto *bulleted = block.as<Block::BulletedList>()) {
        int number = 1;
        for (const RawListItem &item : bulleted->items)
            appendItem(theme.bulletedListMarker.build({state.listLevel, number++}), item.children);
    } else if (const auto *ordered = block.as<Block::NumberedList>()) {
        int number = ordered->start;
        for (const RawListItem &item : ordered->items)
            appendItem(theme.numberedListMarker.build({state.listLevel, number++}), item.children);
    } else if (const auto *tasks = block.as<Block::TaskList>()) {
        for (const RawTaskListItem &item : tasks->items)
            appendItem(theme.taskListMarker.build({item.isCompleted}), item.children);
    }
    return {std::move(list), margin};
}

LayoutBuilder::Result LayoutBuilder::buildTable(const BlockNode &block, const State &state)
{
    const auto &table = *block.as<Block::Table>();
    QList<BlockView::HorizontalAlignment> alignments;
    for (RawTableColumnAlignment alignment : table.columnAlignments)
        alignments.append(columnAlignment(alignment));
    auto node = std::make_unique<LayoutTableNode>(alignments, m_environment.tableBorderStyle,
                                                  m_environment.tableBackgroundStyle);
    BlockMargin margin;
    for (int row = 0; row < table.rows.size(); ++row) {
        const RawTableRow &cells = table.rows[row];
        for (int column = 0; column < cells.cells.size(); ++column) {
            const QList<InlineNode> &content = cells.cells[column].content;
            State cellState = state;
            cellState.container = m_context.textStructure.openTableCell(state.container, row, column,
                                                                        m_context.nextTextIndex());
            Result cell = build(m_environment.theme.tableCell.build(
                                    {row, column, EngineViews::inlineText(content), InlineContent(content)}),
                                cellState);
            margin = margin.combined(cell.margin);
            node->appendCell(row, column, std::move(cell.node));
        }
    }
    // Columns narrow down to their widest words; a table wider than that scrolls sideways.
    return {
        std::make_unique<LayoutScrollNode>(std::move(node), true, LayoutScrollNode::ContentWidth::offered),
        margin};
}

LayoutBuilder::Result LayoutBuilder::build(const BlockView &view, const State &state)
{
    const BlockViewNode &node = view.node();
    switch (node.kind) {
    case Kind::empty:
        return {emptyNode(), {}};
    case Kind::vstack:
    case Kind::hstack:
        return buildStack(node, state);
    case Kind::divider:
    case Kind::rectangle:
        return {shapeNode(node), {}};
    case Kind::symbol:
        return {symbolNode(node, state), {}};
    case Kind::text:
    case Kind::plainText:
        return {textNode(uniformText(node.string, state.attributes), state, node.kind == Kind::plainText),
                {}};
    case Kind::codeText:
        return {textNode(highlightedCode(node, state.attributes), state, true), {}};
    case Kind::inlineText:
        return buildInlineText(node, state);
    case Kind::textStyle:
    case Kind::lineSpacing:
    case Kind::unselectable:
        return build(node.children.value(0), stateInside(node, state));
    case Kind::horizontalScroll:
    case Kind::padding:
    case Kind::margin:
    case Kind::background:
    case Kind::clip:
    case Kind::frame:
        return buildWrapped(node, state);
    case Kind::blockSequence:
        return buildBlockSequence(node.blocks, state);
    case Kind::list:
        return buildList(node.blocks.first(), state);
    case Kind::table:
        return buildTable(node.blocks.first(), state);
    case Kind::imageBlock:
        return {buildImage(node.image, state), {}};
    case Kind::imageFlow:
        return buildImageFlow(node.flowItems, state);
    case Kind::footnote:
        return buildFootnote(node.blocks.first(), state);
    case Kind::decoration: {
        State drawnOnly = state;
        drawnOnly.selectable = false;
        return build(node.children.value(0), drawnOnly);
    }
    }
    return {};
}

LayoutBuilder::Result LayoutBuilder::buildStack(const BlockViewNode &node, const State &state)
{
    const bool vertical = node.kind == Kind::vstack;
    auto stack = std::make_unique<LayoutStackNode>(
        vertical ? LayoutStackNode::Axis::vertical : LayoutStackNode::Axis::horizontal, node.spacing,
        node.horizontalAlignment, node.verticalAlignment);
    BlockMargin margin;
    for (const BlockView &child : node.children) {
        // A divider across a horizontal stack runs down its height instead.
        if (!vertical && child.node().kind == Kind::divider) {
            stack->append(std::make_unique<LayoutShapeNode>(
                LayoutShapeNode::Kind::verticalDivider,
                child.node().color.value_or(LayoutShapeNode::separatorColor)));
            continue;
        }
        Result result = build(child, state);
        margin = margin.combined(result.margin);
        stack->append(std::move(result.node));
    }
    return {std::move(stack), margin};
}

std::unique_ptr<LayoutNode> LayoutBuilder::symbolNode(const BlockViewNode &node, const State &state)
{
    const FontProperties properties = state.attributes.fontPropertiesOrDefault();
    const int size = std::max(1, int(std::round(properties.scaledSize() * node.fraction)));
    const qreal xHeight = QFontMetricsF(m_context.fonts.font(properties)).xHeight();
    return std::make_unique<LayoutSymbolNode>(node.string, size, node.weight,
                                              state.attributes.foregroundColor, xHeight);
}

LayoutBuilder::Result LayoutBuilder::buildWrapped(const BlockViewNode &modifier, const State &state)
{
    Result content = build(modifier.children.value(0), state);
    std::unique_ptr<LayoutNode> child = std::move(content.node);
    const TextAttributes &attributes = state.attributes;
    switch (modifier.kind) {
    case Kind::horizontalScroll:
        if (!m_environment.scrollsSideways)
            return {std::move(child), content.margin};
        return {std::make_unique<LayoutScrollNode>(std::move(child), modifier.showsIndicators),
                content.margin};
    case Kind::padding:
        return {LayoutBoxNode::padding(std::move(child), paddingMargins(modifier, attributes)),
                content.margin};
    case Kind::margin:
        return {std::move(child), content.margin.combined(declaredMargin(modifier, attributes))};
    case Kind::background:
        return {LayoutBoxNode::background(std::move(child), modifier.color.value_or(DynamicColor()),
                                          modifier.cornerRadius),
                content.margin};
    case Kind::clip:
        return {LayoutBoxNode::clip(std::move(child), modifier.cornerRadius), content.margin};
    case Kind::frame:
        return {LayoutBoxNode::frame(std::move(child), frameOf(modifier, attributes)), content.margin};
    default:
        break;
    }
    return {std::move(child), content.margin};
}

LayoutBuilder::Result LayoutBuilder::buildBlockSequence(const QList<BlockNode> &blocks, const State &state)
{
    auto sequence = std::make_unique<LayoutSequenceNode>(state.tightSpacing);
    BlockMargin margin;
    for (int position = 0; position < blocks.size(); ++position) {
        Result result = buildBlock(blocks[position], state, position);
        margin = margin.combined(result.margin);
        sequence->append(std::move(result.node), result.margin);
    }
    return {std::move(sequence), margin};
}

LayoutBuilder::Result LayoutBuilder::buildFootnote(const BlockNode &block, const State &state)
{
    const auto &note = *block.as<Block::FootnoteDefinition>();
    // The number stands in a marker column like a numbered list's, and is not copied.
    State markerState = state;
    markerState.selectable = false;
    Result marker = build(BlockView::text(QString::number(note.number) + u'.'), markerState);
    const int firstText = m_context.nextTextIndex();
    Result content = buildBlockSequence(withBackLink(note), state);
    if (m_context.nextTextIndex() > firstText)
        m_context.addAnchor(firstText, InlineTextRenderer::footnoteIdentifier(note.label), 0);
    auto node = std::make_unique<LayoutListNode>(true, true, false);
    node->append(std::move(marker.node), std::move(content.node), content.margin);
    return {std::move(node), content.margin};
}

LayoutBuilder::Result LayoutBuilder::buildImageFlow(const QList<BlockViewNode::FlowItem> &items,
                                                    const State &state)
{
    const qreal spacing = state.attributes.fontPropertiesOrDefault().size / 4;
    auto flow = std::make_unique<LayoutFlowNode>(spacing, spacing);
    BlockMargin margin;
    for (const BlockViewNode::FlowItem &item : items) {
        if (const auto *image = std::get_if<RawImageData>(&item)) {
            Result result = build(
                m_environment.theme.image.build({EngineViews::imageBlock(*image), MarkdownContent()}), state);
            margin = margin.combined(result.margin);
            flow->appendItem(std::move(result.node));
        } else {
            flow->appendBreak();
        }
    }
    return {std::move(flow), margin};
}

std::optional<std::vector<StyledText>> LayoutBuilder::selectableTexts(const BlockNode &block,
                                                                      const State &state)
{
    std::vector<StyledText> texts;
    if (!collectTexts(blockView(block), state, texts))
        return std::nullopt;
    return texts;
}

// Walks the view as build() does, in the same order and with the same states, keeping only what
// selectable texts would be made of: markers and decorations are not selectable, shapes and
// symbols hold no text.
bool LayoutBuilder::collectTexts(const BlockView &view, const State &state, std::vector<StyledText> &texts)
{
    const BlockViewNode &node = view.node();
    const auto collectAll = [&](const QList<BlockView> &views, const State &inner) {
        return std::all_of(views.cbegin(), views.cend(),
                           [&](const BlockView &child) { return collectTexts(child, inner, texts); });
    };
    const auto collectBlocks = [&](const QList<BlockNode> &blocks, const State &inner) {
        return std::all_of(blocks.cbegin(), blocks.cend(), [&](const BlockNode &child) {
            return collectTexts(blockView(child), inner, texts);
        });
    };
    switch (node.kind) {
    case Kind::empty:
    case Kind::divider:
    case Kind::rectangle:
    case Kind::symbol:
        return true;
    case Kind::vstack:
    case Kind::hstack:
        return collectAll(node.children, state);
    case Kind::text:
    case Kind::plainText:
        if (state.selectable)
            texts.push_back(uniformText(node.string, state.attributes));
        return true;
    case Kind::codeText:
        if (state.selectable)
            texts.push_back(highlightedCode(node, state.attributes));
        return true;
    case Kind::inlineText:
        if (!InlineQueries::imageSources(node.inlines).isEmpty())
            return false;
        if (state.selectable)
            texts.push_back(InlineTextRenderer::render(node.inlines, inlineTextOptions(), state.attributes));
        return true;
    case Kind::textStyle:
    case Kind::lineSpacing:
    case Kind::unselectable:
        return collectTexts(node.children.value(0), stateInside(node, state), texts);
    case Kind::horizontalScroll:
    case Kind::padding:
    case Kind::margin:
    case Kind::background:
    case Kind::clip:
    case Kind::frame:
        return collectTexts(node.children.value(0), state, texts);
    case Kind::decoration: {
        State drawnOnly = state;
        drawnOnly.selectable = false;
        return collectTexts(node.children.value(0), drawnOnly, texts);
    }
    case Kind::blockSequence:
        return collectBlocks(node.blocks, state);
    case Kind::list: {
        const BlockNode &list = node.blocks.first();
        State itemState = state;
        itemState.listLevel = state.listLevel + 1;
        QList<QList<BlockNode>> items;
        if (const auto *bulleted = list.as<Block::BulletedList>()) {
            itemState.tightSpacing = bulleted->isTight;
            for (const RawListItem &item : bulleted->items)
                items.append(item.children);
        } else if (const auto *ordered = list.as<Block::NumberedList>()) {
            itemState.tightSpacing = ordered->isTight;
            for (const RawListItem &item : ordered->items)
                items.append(item.children);
        } else if (const auto *tasks = list.as<Block::TaskList>()) {
            itemState.tightSpacing = tasks->isTight;
            for (const RawTaskListItem &item : tasks->items)
                items.append(item.children);
        }
        // The markers are not selectable.
        const Theme &theme = m_environment.theme;
        return std::all_of(items.cbegin(), items.cend(), [&](const QList<BlockNode> &children) {
            return collectTexts(
                theme.listItem.build({EngineViews::blockSequence(children), MarkdownContent(children)}),
                itemState, texts);
        });
    }
    case Kind::table: {
        const auto &table = *node.blocks.first().as<Block::Table>();
        for (int row = 0; row < table.rows.size(); ++row) {
            const RawTableRow &cells = table.rows[row];
            for (int column = 0; column < cells.cells.size(); ++column) {
                const QList<InlineNode> &content = cells.cells[column].content;
                if (!collectTexts(
                        m_environment.theme.tableCell.build(
                            {row, column, EngineViews::inlineText(content), InlineContent(content)}),
                        state, texts))
                    return false;
            }
        }
        return true;
    }
    case Kind::imageBlock:
    case Kind::imageFlow:
        return false;
    case Kind::footnote:
        // The number is not selectable.
        return collectBlocks(withBackLink(*node.blocks.first().as<Block::FootnoteDefinition>()), state);
    }
    return true;
}

} // namespace kestrune
