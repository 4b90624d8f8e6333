#include "markdown/layout/layoutdocument_p.h"

#include "markdown/document/documentmodeldisposal.h"
#include "markdown/images/imageprovider.h"
#include "markdown/layout/colorschemeimagefilter_p.h"
#include "markdown/layout/copiedtextwriter_p.h"
#include "markdown/layout/layoutimagestore_p.h"
#include "markdown/layout/layoutnodedisposal_p.h"
#include "markdown/layout/layoutsequencenode_p.h"
#include "markdown/layout/layouttextnode_p.h"

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
    m_entries.clear();
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

void LayoutDocument::setDevicePixelRatio(qreal ratio)
{
    if (ratio == m_context.devicePixelRatio)
        return;
    m_context.devicePixelRatio = ratio;
    dropNodes();
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
        m_entries.push_back({&block, nullptr, {}, 0, 0});
}

void LayoutDocument::dropNodes()
{
    // The shaped-text list forgets every text first, so the nodes can go later
    // and without this document.
    m_context.clearNodes();
    m_entryOfRoot.clear();
    std::vector<std::unique_ptr<LayoutNode>> nodes;
    nodes.reserve(size_t(m_built));
    for (Entry &entry : m_entries) {
        if (entry.node)
            nodes.push_back(std::move(entry.node));
    }
    LayoutNodeDisposal::dispose(std::move(nodes));
    m_built = 0;
    m_laidOut = 0;
}

void LayoutDocument::setWidth(qreal width)
{
    if (width == m_width)
        return;
    m_width = width;
    m_laidOut = 0;
}

void LayoutDocument::build(Entry &entry)
{
    bool found = false;
    const BlockNode block =
        ColorSchemeImageFilter::withoutOtherSchemeImages(*entry.block, m_context.appearance, &found);
    m_context.hasColorSchemeImages = m_context.hasColorSchemeImages || found;
    entry.firstText = int(m_context.textNodes.size());
    entry.firstContainer = m_context.textStructure.containerCount();
    LayoutBuilder builder(m_environment, m_context);
    const int index = int(&entry - m_entries.data());
    LayoutBuilder::Result result = builder.buildBlock(block, m_documentState, index);
    entry.node = std::move(result.node);
    entry.margin = result.margin;
    m_entryOfRoot.insert(entry.node.get(), index);
}

bool LayoutDocument::layoutUntil(qreal bottom, qint64 budgetMs)
{
    QElapsedTimer timer;
    if (budgetMs >= 0)
        timer.start();
    while (m_laidOut < int(m_entries.size())) {
        if (m_laidOut > 0) {
            const Entry &last = m_entries[size_t(m_laidOut - 1)];
            if (last.top + last.node->size().height() >= bottom)
                break;
        }
        if (budgetMs >= 0 && timer.elapsed() >= budgetMs)
            break;
        Entry &entry = m_entries[size_t(m_laidOut)];
        if (m_laidOut >= m_built) {
            build(entry);
            m_built = m_laidOut + 1;
        }
        const QSizeF size = entry.node->layout(m_width);
        Q_UNUSED(size);
        const Entry *previous = m_laidOut > 0 ? &m_entries[size_t(m_laidOut - 1)] : nullptr;
        entry.top = previous ? previous->top + previous->node->size().height() +
                                   LayoutSequenceNode::spacing(&previous->margin, entry.margin, false)
                             : 0;
        entry.node->setPosition({0, entry.top});
        ++m_laidOut;
    }
    return isComplete();
}

void LayoutDocument::layoutThrough(int index)
{
    while (m_laidOut <= index && m_laidOut < int(m_entries.size())) {
        const qreal bottom = m_laidOut > 0 ? laidOutHeight() + 1 : 0;
        layoutUntil(bottom);
    }
}

qreal LayoutDocument::laidOutHeight() const
{
    if (m_laidOut == 0)
        return 0;
    const Entry &last = m_entries[size_t(m_laidOut - 1)];
    return last.top + last.node->size().height();
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
        if (entry.top > clip.bottom())
            break;
        const QRectF frame = entry.node->frame();
        context.painter->translate(frame.topLeft());
        context.clip = clip.translated(-frame.topLeft());
        entry.node->paint(context);
        context.painter->translate(-frame.topLeft());
    }
    context.clip = clip;
}

LayoutHit LayoutDocument::hitTest(QPointF point) const
{
    LayoutHit hit;
    if (m_laidOut == 0)
        return hit;
    const Entry &entry = m_entries[size_t(blockAt(point.y()))];
    if (entry.node->frame().contains(point))
        entry.node->hitTest(point - entry.node->position(), hit);
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

    const int count = laidOutTextCount();
    if (count == 0)
        return std::nullopt;
    const auto &nodes = m_context.textNodes;
    // Texts are in document order, which is top to bottom: take the last one starting above.
    auto it = std::partition_point(nodes.begin(), nodes.begin() + count, [&](const LayoutTextNode *node) {
        return node->mapToDocument(QPointF(0, 0)).y() <= point.y();
    });
    if (it == nodes.begin())
        return TextPosition{0, 0};
    const LayoutTextNode *node = *(it - 1);
    const QPointF origin = node->mapToDocument(QPointF(0, 0));
    if (point.y() >= origin.y() + node->size().height())
        return TextPosition{node->documentIndex(), node->length()};
    return TextPosition{node->documentIndex(), node->cursorAt(point - origin)};
}

QString LayoutDocument::text(const LayoutSelection &selection) const
{
    CopiedTextWriter writer(
        m_context.textStructure, m_context.textNodes, [this](int index) { return topLevelBlock(index); },
        CopiedTextWriter::Formats::plainText);
    return writer.write(selection).plainText;
}

CopiedText LayoutDocument::copiedText(const LayoutSelection &selection) const
{
    CopiedTextWriter writer(m_context.textStructure, m_context.textNodes,
                            [this](int index) { return topLevelBlock(index); });
    return writer.write(selection);
}

LayoutDocument::PlainTextMap LayoutDocument::plainTextMap() const
{
    CopiedTextWriter writer(
        m_context.textStructure, m_context.textNodes, [this](int index) { return topLevelBlock(index); },
        CopiedTextWriter::Formats::plainText);
    PlainTextMap map;
    map.text = writer.write(allText()).plainText;
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
    const TextStructure &structure = m_context.textStructure;
    const int first = m_entries[size_t(block)].firstContainer;
    const int end =
        block + 1 < m_built ? m_entries[size_t(block) + 1].firstContainer : structure.containerCount();
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
    CopiedTextWriter writer(m_context.textStructure, m_context.textNodes,
                            [this](int index) { return topLevelBlock(index); });
    return writer.codeBlock(block);
}

const BlockNode *LayoutDocument::topLevelBlock(int index) const
{
    return index >= 0 && index < int(m_entries.size()) ? m_entries[size_t(index)].block : nullptr;
}

LayoutSelection LayoutDocument::wordSelection(TextPosition position) const
{
    const auto &nodes = m_context.textNodes;
    if (position.node < 0 || position.node >= int(nodes.size()))
        return {};
    const auto [start, end] = nodes[size_t(position.node)]->wordAt(position.offset);
    return {position.node, start, position.node, end};
}

LayoutSelection LayoutDocument::allText() const
{
    const auto &nodes = m_context.textNodes;
    if (nodes.empty())
        return {};
    return {0, 0, int(nodes.size()) - 1, nodes.back()->length()};
}

QList<LayoutDocument::TextMatch> LayoutDocument::findMatches(int block, const SearchPattern &query) const
{
    QList<TextMatch> matches;
    if (block < 0 || block >= m_built)
        return matches;
    const int first = m_entries[size_t(block)].firstText;
    const int end =
        block + 1 < m_built ? m_entries[size_t(block) + 1].firstText : int(m_context.textNodes.size());
    for (int node = first; node < end; ++node) {
        for (const auto &[start, stop] : m_context.textNodes[size_t(node)]->findMatches(query))
            matches.append({node, start, stop});
    }
    return matches;
}

QRectF LayoutDocument::textRect(int node, int start, int end) const
{
    if (node < 0 || node >= int(m_context.textNodes.size()))
        return {};
    const LayoutTextNode *text = m_context.textNodes[size_t(node)];
    const QPointF origin = text->mapToDocument(QPointF(0, 0));
    return text->cursorRect(start).united(text->cursorRect(end)).translated(origin);
}

std::optional<qreal> LayoutDocument::headingTop(const QString &identifier, int occurrence)
{
    if (identifier.isEmpty())
        return std::nullopt;
    size_t checked = 0;
    for (;;) {
        const auto &nodes = m_context.textNodes;
        for (; checked < nodes.size() && int(checked) < laidOutTextCount(); ++checked) {
            if (nodes[checked]->identifier() == identifier && occurrence-- == 0)
                return nodes[checked]->mapToDocument(QPointF(0, 0)).y();
        }
        if (isComplete())
            return std::nullopt;
        layoutThrough(m_laidOut);
    }
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
        for (LayoutBuildContext::InlineImageText &text : m_context.inlineImageTexts) {
            bool affected = false;
            for (const auto &[source, imageUrl] : text.images) {
                if (imageUrl != url)
                    continue;
                if (const QImage *image = m_images->image(imageUrl, provider)) {
                    text.options.images.insert(source, *image);
                    affected = true;
                } else if (m_images->hasFailed(imageUrl, provider)) {
                    text.options.failedImages.insert(source);
                    affected = true;
                }
            }
            if (!affected)
                continue;
            if (!text.options.failedImages.isEmpty() && text.options.failedImageSymbol.isNull())
                text.options.failedImageSymbol = InlineTextRenderer::failedImageSymbol(
                    text.attributes.fontPropertiesOrDefault(), m_context.devicePixelRatio);
            text.node->setText(InlineTextRenderer::render(text.inlines, text.options, text.attributes),
                               m_context.fonts);
            invalidateEntryOf(text.node);
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
        m_entries[size_t(i)].node->dump(stream, 0);
    return result;
}

} // namespace kestrune
