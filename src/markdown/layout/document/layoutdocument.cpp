#include "markdown/layout/document/layoutdocument_p.h"

#include "markdown/document/documentmodeldisposal.h"
#include "markdown/images/imageprovider.h"
#include "markdown/layout/document/blockmeasuretimer_p.h"
#include "markdown/layout/document/blockparking_p.h"
#include "markdown/layout/document/copiedtextwriter_p.h"
#include "markdown/layout/nodes/colorschemeimagefilter_p.h"
#include "markdown/layout/nodes/layoutimagenode_p.h"
#include "markdown/layout/nodes/layoutimagestore_p.h"
#include "markdown/layout/nodes/layoutnodedisposal_p.h"
#include "markdown/layout/nodes/layoutscrollnode_p.h"
#include "markdown/layout/nodes/layoutsequencenode_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <utility>

namespace kestrune {

LayoutDocument::LayoutDocument(QObject *parent)
    : QObject(parent), m_images(std::make_unique<LayoutImageStore>()),
      m_documentState(LayoutBuilder::documentState(m_environment.theme))
{
    m_context.images = m_images.get();
    // A settled image (loaded or failed) changes the texts and blocks that show it.
    connect(m_images.get(), &LayoutImageStore::imageLoaded, this, &LayoutDocument::onImageSettled);
    connect(m_images.get(), &LayoutImageStore::imageFailed, this, &LayoutDocument::onImageSettled);
}

LayoutDocument::~LayoutDocument()
{
    dropNodes();
    // The tables of a long page are tens of megabytes; freeing them (and the heap trimming that
    // follows) on the window's thread would hold it as long as freeing the model did.
    struct Tables
    {
        std::vector<Entry> entries;
        std::vector<std::unique_ptr<LayoutNode>> nodes; // all null by now
        std::vector<LayoutTextNode *> textNodes;
        TextStructure textStructure;
        QHash<const LayoutNode *, int> entryOfRoot;
    };
    DocumentModelDisposal::disposeValue(Tables{std::move(m_entries), std::move(m_nodes),
                                               std::move(m_context.textNodes),
                                               std::move(m_context.textStructure), std::move(m_entryOfRoot)});
    DocumentModelDisposal::dispose(std::move(m_blockLists));
}

void LayoutDocument::setEnvironment(const MarkdownEnvironment &environment)
{
    dropNodes();
    m_environment = environment;
    m_documentState = LayoutBuilder::documentState(m_environment.theme);
}

bool LayoutDocument::setAppearance(Appearance appearance)
{
    if (appearance == m_context.appearance)
        return false;
    const bool rebuild = m_context.hasColorSchemeImages;
    m_context.appearance = appearance;
    if (rebuild)
        dropNodes();
    return rebuild;
}

bool LayoutDocument::setDevicePixelRatio(qreal ratio)
{
    if (ratio == m_context.devicePixelRatio)
        return true;
    m_context.devicePixelRatio = ratio;
    // Blocks parked or not built yet are built at the new ratio when they are needed.
    if (m_context.pictures.empty() && m_context.inlineImageTexts.empty())
        return true;
    dropNodes();
    return false;
}

void LayoutDocument::holdImageRequests()
{
    m_images->holdRequests();
}

void LayoutDocument::releaseImageRequests()
{
    m_images->releaseRequests();
}

void LayoutDocument::handOverTo(QThread *thread)
{
    m_images->moveToThread(thread);
    moveToThread(thread);
}

void LayoutDocument::setBlocks(const QList<BlockNode> &blocks)
{
    dropNodes();
    m_entries.clear();
    m_nodes.clear();
    DocumentModelDisposal::dispose(std::exchange(m_blockLists, {}));
    appendBlocks(blocks);
}

void LayoutDocument::appendBlocks(const QList<BlockNode> &blocks)
{
    if (blocks.isEmpty())
        return;
    m_blockLists.push_back(blocks);
    m_entries.reserve(m_entries.size() + size_t(blocks.size()));
    for (const BlockNode &block : std::as_const(m_blockLists.back()))
        m_entries.push_back({&block, {}, 0, 0, 0});
    m_nodes.resize(m_entries.size());
}

void LayoutDocument::dropNodes()
{
    // The shaped-text list forgets every text first, so the nodes can go later
    // and without this document.
    m_context.clearNodes();
    m_entryOfRoot.clear();
    LayoutNodeDisposal::dispose(std::exchange(m_nodes, {}));
    m_nodes.resize(m_entries.size());
    for (const int index : m_resident)
        m_entries[size_t(index)].listed = false;
    m_resident.clear();
    m_built = 0;
    m_laidOut = 0;
    m_firstOutdated = 0;
}

void LayoutDocument::setWidth(qreal width)
{
    if (width == m_width)
        return;
    m_width = width;
    m_firstOutdated = 0;
}

void LayoutDocument::build(Entry &entry)
{
    entry.firstText = int(m_context.textNodes.size());
    entry.firstContainer = m_context.textStructure.containerCount();
    const size_t pictures = m_context.pictures.size();
    const size_t inlineImageTexts = m_context.inlineImageTexts.size();
    const int index = int(&entry - m_entries.data());
    buildNode(entry, index);
    entry.parkable =
        pictures == m_context.pictures.size() && inlineImageTexts == m_context.inlineImageTexts.size();
}

void LayoutDocument::buildNode(Entry &entry, int index)
{
    bool found = false;
    const BlockNode block =
        ColorSchemeImageFilter::withoutOtherSchemeImages(*entry.block, m_context.appearance, &found);
    m_context.hasColorSchemeImages = m_context.hasColorSchemeImages || found;
    LayoutBuilder builder(m_environment, m_context);
    LayoutBuilder::Result result = builder.buildBlock(block, m_documentState, index);
    m_nodes[size_t(index)] = std::move(result.node);
    entry.margin = result.margin;
    m_entryOfRoot.insert(m_nodes[size_t(index)].get(), index);
}

void LayoutDocument::unpark(int index)
{
    restoreNode(index);
    const Entry &entry = m_entries[size_t(index)];
    if (index < m_laidOut) {
        // At the width it was measured at, so that it fills the place it has.
        m_nodes[size_t(index)]->layout(entry.measuredWidth);
        m_nodes[size_t(index)]->setPosition({0, entry.top});
    }
}

void LayoutDocument::restoreNode(int index)
{
    Entry &entry = m_entries[size_t(index)];
    m_context.replayedText = entry.firstText;
    m_context.textStructure.beginReplay(entry.firstContainer);
    buildNode(entry, index);
    m_context.textStructure.endReplay();
    m_context.replayedText = -1;
    listResident(index);
}

void LayoutDocument::measure(Entry &entry, LayoutNode &node)
{
    m_measureTimer.start();
    entry.height = node.layout(m_width).height();
    entry.measuredWidth = m_width;
    entry.measureMs = float(m_measureTimer.elapsedMilliseconds());
}

void LayoutDocument::remeasure(int index)
{
    Entry &entry = m_entries[size_t(index)];
    const bool parked = isParked(index);
    if (parked)
        restoreNode(index);
    LayoutNode &node = *m_nodes[size_t(index)];
    measure(entry, node);
    node.setPosition({0, entry.top});
    if (parked && !isResident(entry))
        park(index);
}

void LayoutDocument::place(int first, int end)
{
    for (int index = std::max(first, 0); index < end; ++index) {
        Entry &entry = m_entries[size_t(index)];
        const Entry *previous = index > 0 ? &m_entries[size_t(index) - 1] : nullptr;
        entry.top = previous ? previous->top + previous->height +
                                   LayoutSequenceNode::spacing(&previous->margin, entry.margin, false)
                             : 0;
        if (index < m_built) {
            if (LayoutNode *node = m_nodes[size_t(index)].get())
                node->setPosition({0, entry.top});
        }
    }
}

int LayoutDocument::firstOutdated() const
{
    while (m_firstOutdated < m_laidOut && !isOutdated(m_entries[size_t(m_firstOutdated)]))
        ++m_firstOutdated;
    return std::min(m_firstOutdated, m_laidOut);
}

bool LayoutDocument::park(int index)
{
    Entry &entry = m_entries[size_t(index)];
    std::unique_ptr<LayoutNode> &node = m_nodes[size_t(index)];
    if (!node || !entry.parkable || BlockParking::holdsKeptState(*node))
        return false;
    BlockParking::forgetShapedTexts(*node, m_context.textLayouts);
    std::fill(m_context.textNodes.begin() + entry.firstText, m_context.textNodes.begin() + textEnd(index),
              nullptr);
    m_context.textStructure.forgetNodes(entry.firstContainer, containerEnd(index));
    m_entryOfRoot.remove(node.get());
    std::vector<std::unique_ptr<LayoutNode>> nodes;
    nodes.push_back(std::move(node));
    LayoutNodeDisposal::dispose(std::move(nodes));
    entry.listed = false;
    return true;
}

LayoutNode *LayoutDocument::nodeOf(int index) const
{
    if (index < 0 || index >= m_built)
        return nullptr;
    if (isParked(index))
        const_cast<LayoutDocument *>(this)->unpark(index);
    return m_nodes[size_t(index)].get();
}

bool LayoutDocument::isResident(const Entry &entry) const
{
    return entry.top <= m_residentBottom && entry.top + entry.height >= m_residentTop;
}

void LayoutDocument::listResident(int index)
{
    Entry &entry = m_entries[size_t(index)];
    if (entry.parkable && !entry.listed) {
        entry.listed = true;
        m_resident.push_back(index);
    }
}

void LayoutDocument::setResidentRange(qreal top, qreal bottom)
{
    m_residentTop = top;
    m_residentBottom = bottom;
    std::vector<int> kept;
    for (const int index : m_resident) {
        Entry &entry = m_entries[size_t(index)];
        if (!entry.listed)
            continue; // parked since, or listed twice
        entry.listed = false;
        if (m_nodes[size_t(index)] && (index >= m_laidOut || isResident(entry) || !park(index)))
            kept.push_back(index);
    }
    for (const int index : kept)
        m_entries[size_t(index)].listed = true;
    m_resident = std::move(kept);
}

int LayoutDocument::parkedBlockCount() const
{
    int count = 0;
    for (int index = 0; index < m_laidOut; ++index)
        count += isParked(index) ? 1 : 0;
    return count;
}

int LayoutDocument::blockOfText(int text) const
{
    const auto begin = m_entries.begin();
    const auto it = std::partition_point(begin, begin + m_built,
                                         [text](const Entry &entry) { return entry.firstText <= text; });
    return std::max(0, int(it - begin) - 1);
}

int LayoutDocument::textEnd(int block) const
{
    return block + 1 < m_built ? m_entries[size_t(block) + 1].firstText : int(m_context.textNodes.size());
}

int LayoutDocument::containerEnd(int block) const
{
    return block + 1 < m_built ? m_entries[size_t(block) + 1].firstContainer
                               : m_context.textStructure.containerCount();
}

void LayoutDocument::parkAgain(const std::vector<int> &blocks) const
{
    auto *self = const_cast<LayoutDocument *>(this);
    for (const int block : blocks) {
        if (!self->isResident(m_entries[size_t(block)]))
            self->park(block); // else it stays, listed for the next range
    }
}

void LayoutDocument::forEachText(const std::function<void(const LayoutTextNode &)> &visit) const
{
    for (int block = 0; block < m_built; ++block) {
        const int first = m_entries[size_t(block)].firstText;
        const int end = textEnd(block);
        if (first == end)
            continue;
        const bool parked = isParked(block);
        nodeOf(block);
        for (int text = first; text < end; ++text)
            visit(*m_context.textNodes[size_t(text)]);
        if (parked)
            parkAgain({block});
    }
}

const LayoutTextNode *LayoutDocument::textNode(int index) const
{
    if (index < 0 || index >= int(m_context.textNodes.size()))
        return nullptr;
    if (!m_context.textNodes[size_t(index)])
        nodeOf(blockOfText(index));
    return m_context.textNodes[size_t(index)];
}

bool LayoutDocument::layoutUntil(qreal bottom, qint64 budgetMs)
{
    return measureFrom(firstOutdated(), bottom, budgetMs);
}

void LayoutDocument::layoutAround(qreal top, qreal bottom)
{
    measureFrom(m_laidOut > 0 ? blockAt(top) : 0, bottom, -1);
}

double LayoutDocument::remeasureCost(qreal top, qreal bottom) const
{
    double cost = 0;
    for (int index = std::max(firstOutdated(), m_laidOut > 0 ? blockAt(top) : 0); index < m_laidOut;
         ++index) {
        const Entry &entry = m_entries[size_t(index)];
        if (entry.top >= bottom)
            break;
        if (isOutdated(entry))
            cost = std::max(cost, double(entry.measureMs));
    }
    return cost;
}

bool LayoutDocument::measureFrom(int first, qreal bottom, qint64 budgetMs)
{
    QElapsedTimer timer;
    if (budgetMs >= 0)
        timer.start();
    // The blocks after those measured again are placed again at the end, which is part of the
    // budget: a slice at the top of a 10 MB page spends 2 ms on it. Once a block is measured, so
    // that every slice gets on.
    bool measured = false;
    const auto spent = [&] {
        return budgetMs >= 0 && measured &&
               double(timer.nsecsElapsed()) / 1e6 + m_tailPlacementMs >= double(budgetMs);
    };
    int placed = m_laidOut; // entries [placed, m_laidOut) are to be placed again
    bool stopped = false;
    for (int index = first; index < m_laidOut; ++index) {
        if (placed <= index) {
            place(placed, index + 1);
            placed = index + 1;
        }
        const Entry &entry = m_entries[size_t(index)];
        if (entry.top >= bottom || spent()) {
            stopped = true;
            break;
        }
        if (isOutdated(entry)) {
            remeasure(index);
            placed = std::min(placed, index + 1);
            measured = true;
        }
    }
    QElapsedTimer placing;
    placing.start();
    const bool placesTail = placed < m_laidOut;
    place(placed, m_laidOut);
    if (budgetMs >= 0 && placesTail)
        m_tailPlacementMs = double(placing.nsecsElapsed()) / 1e6;
    while (!stopped && m_laidOut < int(m_entries.size()) && (m_laidOut == 0 || laidOutHeight() < bottom) &&
           !spent()) {
        appendMeasured();
        measured = true;
    }
    return isComplete();
}

void LayoutDocument::appendMeasured()
{
    const int index = m_laidOut;
    Entry &entry = m_entries[size_t(index)];
    if (index >= m_built) {
        build(entry);
        m_built = index + 1;
    } else if (!m_nodes[size_t(index)]) {
        restoreNode(index);
    }
    LayoutNode &node = *m_nodes[size_t(index)];
    measure(entry, node);
    place(index, index + 1);
    ++m_laidOut;
    if (isResident(entry) || !park(index))
        listResident(index);
}

void LayoutDocument::layoutThrough(int index)
{
    while (m_laidOut <= index && m_laidOut < int(m_entries.size()))
        appendMeasured();
}

qreal LayoutDocument::laidOutHeight() const
{
    if (m_laidOut == 0)
        return 0;
    const Entry &last = m_entries[size_t(m_laidOut - 1)];
    return last.top + last.height;
}

qreal LayoutDocument::estimatedHeight() const
{
    if (isComplete() || m_laidOut == 0)
        return laidOutHeight();
    return laidOutHeight() / m_laidOut * qreal(m_entries.size());
}

int LayoutDocument::blockAt(qreal y) const
{
    auto begin = m_entries.begin();
    auto it =
        std::partition_point(begin, begin + m_laidOut, [y](const Entry &entry) { return entry.top <= y; });
    return std::max(0, int(it - begin) - 1);
}

qreal LayoutDocument::blockTop(int index) const
{
    return index < m_laidOut ? m_entries[size_t(index)].top : laidOutHeight();
}

bool LayoutDocument::isLoadingImages() const
{
    return m_images->isSettling();
}

void LayoutDocument::paint(LayoutPaintContext &context) const
{
    const int first = blockAt(context.clip.top());
    const QRectF clip = context.clip;
    for (int i = first; i < m_laidOut; ++i) {
        const Entry &entry = m_entries[size_t(i)];
        if (entry.top > clip.bottom() || (context.stopped && context.stopped()))
            break;
        const LayoutNode *node = nodeOf(i);
        const QRectF frame = node->frame();
        context.painter->translate(frame.topLeft());
        context.clip = clip.translated(-frame.topLeft());
        node->paint(context);
        context.painter->translate(-frame.topLeft());
    }
    context.clip = clip;
}

LayoutHit LayoutDocument::hitTest(QPointF point) const
{
    LayoutHit hit;
    if (m_laidOut == 0)
        return hit;
    LayoutNode *node = nodeOf(blockAt(point.y()));
    if (node->frame().contains(point))
        node->hitTest(point - node->position(), hit);
    return hit;
}

int LayoutDocument::laidOutTextCount() const
{
    if (m_laidOut == 0)
        return 0;
    return m_laidOut < m_built ? m_entries[size_t(m_laidOut)].firstText : int(m_context.textNodes.size());
}

std::optional<LayoutDocument::TextPosition> LayoutDocument::positionAt(QPointF point) const
{
    const LayoutHit hit = hitTest(point);
    if (hit.text && hit.text->documentIndex() >= 0)
        return TextPosition{hit.text->documentIndex(), hit.text->cursorAt(hit.textPoint)};

    if (laidOutTextCount() == 0)
        return std::nullopt;
    // Texts are in document order, which is top to bottom: take the last one starting above,
    // in the block at the point or else in the nearest block above that has texts.
    const LayoutTextNode *node = nullptr;
    for (int block = std::min(blockAt(point.y()), m_laidOut - 1); block >= 0 && !node; --block) {
        const int first = m_entries[size_t(block)].firstText;
        const int end = textEnd(block);
        if (first == end)
            continue;
        nodeOf(block);
        const auto begin = m_context.textNodes.begin();
        const auto it = std::partition_point(begin + first, begin + end, [&](const LayoutTextNode *text) {
            return text->mapToDocument(QPointF(0, 0)).y() <= point.y();
        });
        if (it != begin + first)
            node = *(it - 1);
    }
    if (!node)
        return TextPosition{0, 0};
    const QPointF origin = node->mapToDocument(QPointF(0, 0));
    if (point.y() >= origin.y() + node->size().height())
        return TextPosition{node->documentIndex(), node->length()};
    return TextPosition{node->documentIndex(), node->cursorAt(point - origin)};
}

// What a copy reads of each selectable text: a built text's content, and for the texts of a
// parked block the contents its block would be built with, made from the block alone, a block at
// a time in the order a copy reads them. Copying a long page thus holds the contents of one
// parked block at a time and builds none of them again. A block whose texts cannot be made so
// (see LayoutBuilder::selectableTexts) is built again for the copy and parked once it is done.
class LayoutDocument::CopiedTexts
{
public:
    explicit CopiedTexts(const LayoutDocument &document) : m_document(document) {}
    ~CopiedTexts() { m_document.parkAgain(m_unparked); }
    CopiedTexts(const CopiedTexts &) = delete;
    CopiedTexts &operator=(const CopiedTexts &) = delete;

    CopiedTextWriter::TextContents contents()
    {
        return [this](int text) -> const LayoutTextContent & { return content(text); };
    }

private:
    const LayoutTextContent &content(int text)
    {
        const std::vector<LayoutTextNode *> &nodes = m_document.m_context.textNodes;
        if (const LayoutTextNode *node = nodes[size_t(text)])
            return node->content();
        const int block = m_document.blockOfText(text);
        const int first = m_document.m_entries[size_t(block)].firstText;
        if (block != m_block) {
            m_block = -1;
            m_contents.clear();
            const std::optional<std::vector<StyledText>> texts = m_document.parkedTexts(block);
            if (!texts || int(texts->size()) != m_document.textEnd(block) - first) {
                m_document.nodeOf(block);
                m_unparked.push_back(block);
                return nodes[size_t(text)]->content();
            }
            auto &context = const_cast<LayoutBuildContext &>(m_document.m_context);
            m_contents.reserve(texts->size());
            for (const StyledText &styled : *texts)
                m_contents.emplace_back(styled, context.fonts, context.devicePixelRatio);
            m_block = block;
        }
        return m_contents[size_t(text - first)];
    }

    const LayoutDocument &m_document;
    int m_block = -1; // whose texts m_contents holds
    std::vector<LayoutTextContent> m_contents;
    std::vector<int> m_unparked;
};

std::optional<std::vector<StyledText>> LayoutDocument::parkedTexts(int block) const
{
    bool found = false;
    const BlockNode filtered = ColorSchemeImageFilter::withoutOtherSchemeImages(
        *m_entries[size_t(block)].block, m_context.appearance, &found);
    // Only reads the theme: the context is left as it is.
    LayoutBuilder builder(m_environment, const_cast<LayoutBuildContext &>(m_context));
    return builder.selectableTexts(filtered, m_documentState);
}

QString LayoutDocument::text(const LayoutSelection &selection) const
{
    CopiedTexts texts(*this);
    CopiedTextWriter writer(
        m_context.textStructure, textCount(), texts.contents(),
        [this](int index) { return topLevelBlock(index); }, CopiedTextWriter::Formats::plainText);
    return writer.write(selection).plainText;
}

CopiedText LayoutDocument::copiedText(const LayoutSelection &selection) const
{
    CopiedTexts texts(*this);
    CopiedTextWriter writer(m_context.textStructure, textCount(), texts.contents(),
                            [this](int index) { return topLevelBlock(index); });
    return writer.write(selection);
}

LayoutDocument::PlainTextMap LayoutDocument::plainTextMap() const
{
    const LayoutSelection all = allText();
    CopiedTexts texts(*this);
    CopiedTextWriter writer(
        m_context.textStructure, textCount(), texts.contents(),
        [this](int index) { return topLevelBlock(index); }, CopiedTextWriter::Formats::plainText);
    PlainTextMap map;
    map.text = writer.write(all).plainText;
    for (const qsizetype start : writer.plainTextStarts())
        map.nodeStarts.push_back(int(start));
    // A page of empty texts selects nothing; they all start at the end.
    map.nodeStarts.resize(m_context.textNodes.size(), int(map.text.size()));
    return map;
}

std::optional<LayoutDocument::CodeBlockArea> LayoutDocument::codeBlockAt(QPointF point) const
{
    const int block = blockAt(point.y());
    if (block < 0 || block >= m_laidOut)
        return std::nullopt;
    nodeOf(block);
    const TextStructure &structure = m_context.textStructure;
    const int first = m_entries[size_t(block)].firstContainer;
    const int end = containerEnd(block);
    for (int index = first; index < end; ++index) {
        const TextStructure::Container &container = structure.container(index);
        if (container.kind != TextStructure::Container::Kind::block ||
            container.blockKind != BlockNode::Kind::codeBlock || container.node == nullptr)
            continue;
        const QRectF frame(container.node->mapToDocument(QPointF(0, 0)), container.node->size());
        if (!frame.contains(point))
            continue;
        return CodeBlockArea{index, frame};
    }
    return std::nullopt;
}

CopiedText LayoutDocument::codeBlockText(int block) const
{
    CopiedTexts texts(*this);
    CopiedTextWriter writer(m_context.textStructure, textCount(), texts.contents(),
                            [this](int index) { return topLevelBlock(index); });
    return writer.codeBlock(block);
}

std::optional<int> LayoutDocument::codeBlockOfText(int text) const
{
    const TextStructure &structure = m_context.textStructure;
    const int container =
        text >= 0 && text < int(m_context.textNodes.size()) ? structure.containerOfText(text) : -1;
    if (container < 0 || structure.container(container).kind != TextStructure::Container::Kind::block ||
        structure.container(container).blockKind != BlockNode::Kind::codeBlock)
        return std::nullopt;
    return container;
}

const BlockNode *LayoutDocument::topLevelBlock(int index) const
{
    return index >= 0 && index < int(m_entries.size()) ? m_entries[size_t(index)].block : nullptr;
}

LayoutSelection LayoutDocument::wordSelection(TextPosition position) const
{
    const LayoutTextNode *node = textNode(position.node);
    if (!node)
        return {};
    const auto [start, end] = node->wordAt(position.offset);
    return {position.node, start, position.node, end};
}

LayoutSelection LayoutDocument::allText() const
{
    const int count = textCount();
    if (count == 0)
        return {};
    CopiedTexts texts(*this);
    return {0, 0, count - 1, texts.contents()(count - 1).length()};
}

QList<LayoutDocument::TextMatch> LayoutDocument::findMatches(int block, const SearchPattern &query) const
{
    QList<TextMatch> matches;
    if (block < 0 || block >= m_built)
        return matches;
    const bool parked = isParked(block);
    nodeOf(block);
    for (int node = m_entries[size_t(block)].firstText; node < textEnd(block); ++node) {
        for (const auto &[start, stop] : m_context.textNodes[size_t(node)]->findMatches(query))
            matches.append({node, start, stop});
    }
    if (parked)
        parkAgain({block});
    return matches;
}

QRectF LayoutDocument::textRect(int node, int start, int end) const
{
    const LayoutTextNode *text = textNode(node);
    if (!text)
        return {};
    const QPointF origin = text->mapToDocument(QPointF(0, 0));
    return text->cursorRect(start).united(text->cursorRect(end)).translated(origin);
}

std::optional<qreal> LayoutDocument::headingTop(const QString &identifier, int occurrence)
{
    if (identifier.isEmpty())
        return std::nullopt;
    size_t checked = 0;
    for (;;) {
        const auto &headings = m_context.identifiedTexts;
        for (; checked < headings.size() && headings[checked].text < laidOutTextCount(); ++checked) {
            const LayoutBuildContext::IdentifiedText &place = headings[checked];
            if (place.identifier != identifier || occurrence-- != 0)
                continue;
            const LayoutTextNode *text = textNode(place.text);
            const qreal line = place.position > 0 ? text->cursorRect(place.position).top() : 0;
            return text->mapToDocument(QPointF(0, line)).y();
        }
        if (isComplete())
            return std::nullopt;
        layoutThrough(m_laidOut);
    }
}

int LayoutDocument::blockOfNode(const LayoutNode *node) const
{
    if (!node)
        return -1;
    while (node->parent())
        node = node->parent();
    return m_entryOfRoot.value(node, -1);
}

void LayoutDocument::invalidateEntryOf(LayoutNode *node)
{
    LayoutNode *root = node;
    while (root->parent())
        root = root->parent();
    const auto it = m_entryOfRoot.constFind(root);
    if (it == m_entryOfRoot.constEnd())
        return;
    node->invalidate();
    m_laidOut = std::min(m_laidOut, *it);
}

void LayoutDocument::onImageSettled(const QUrl &url, ImageProvider *provider)
{
    bool changed = false;
    if (provider == m_environment.imageProvider.get()) {
        const QList<LayoutNode *> nodes = m_context.imageNodes.values(url);
        for (LayoutNode *node : nodes) {
            invalidateEntryOf(node);
            changed = true;
        }
    }
    if (provider == m_environment.inlineImageProvider.get()) {
        for (LayoutTextNode *text : m_context.renderSettledInlineImage(url, provider)) {
            invalidateEntryOf(text);
            changed = true;
        }
    }
    if (changed)
        Q_EMIT layoutInvalidated();
    Q_EMIT imageSettled();
}

QString LayoutDocument::dump() const
{
    QString result;
    QTextStream stream(&result);
    for (int i = 0; i < m_laidOut; ++i)
        nodeOf(i)->dump(stream, 0);
    return result;
}

} // namespace kestrune
