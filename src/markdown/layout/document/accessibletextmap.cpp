#include "markdown/layout/document/accessibletextmap_p.h"

#include "markdown/layout/document/headingoutline.h"
#include "markdown/layout/nodes/layouttextnode_p.h"

#include <algorithm>

namespace kestrune {

namespace {

// The offset in a node's plain text of one of its positions.
int plainOffset(const LayoutTextNode &node, int position)
{
    return int(node.plainText(0, std::clamp(position, 0, node.length())).size());
}

// The first position of a node whose plain text reaches `offset` characters.
int positionOfPlainOffset(const LayoutTextNode &node, int offset)
{
    int low = 0;
    int high = node.length();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (plainOffset(node, middle) < offset)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

} // namespace

AccessibleTextMap::AccessibleTextMap(const LayoutDocument &document) : m_text(document.plainTextMap())
{
    collectElements(document);
}

int AccessibleTextMap::offsetOf(const LayoutDocument &document, LayoutDocument::TextPosition position) const
{
    if (position.node < 0 || position.node >= nodeCount())
        return position.node < 0 ? 0 : length();
    const LayoutTextNode &node = *document.textNode(position.node);
    return m_text.nodeStarts[size_t(position.node)] + plainOffset(node, position.offset);
}

LayoutDocument::TextPosition AccessibleTextMap::positionOf(const LayoutDocument &document, int offset) const
{
    if (nodeCount() == 0)
        return {};
    offset = std::clamp(offset, 0, length());
    const auto after = std::upper_bound(m_text.nodeStarts.begin(), m_text.nodeStarts.end(), offset);
    const int index = std::max(0, int(after - m_text.nodeStarts.begin()) - 1);
    const LayoutTextNode &node = *document.textNode(index);
    return {index, positionOfPlainOffset(node, offset - m_text.nodeStarts[size_t(index)])};
}

QRectF AccessibleTextMap::elementRect(const LayoutDocument &document, const Element &element)
{
    if (element.picture >= 0) {
        if (element.picture >= int(document.pictures().size()))
            return {};
        const LayoutNode *picture = document.pictures()[size_t(element.picture)].node;
        return {picture->mapToDocument(QPointF(0, 0)), picture->size()};
    }
    if (element.node < 0 || element.node >= document.textCount())
        return {};
    if (element.kind == Element::Kind::heading) {
        const LayoutTextNode &node = *document.textNode(element.node);
        return {node.mapToDocument(QPointF(0, 0)), node.size()};
    }
    return document.textRect(element.node, element.position, element.endPosition);
}

AccessibleTextAttributes::Run AccessibleTextMap::attributesAt(const LayoutDocument &document, int offset,
                                                              QColor defaultColor) const
{
    if (nodeCount() == 0 || length() == 0)
        return {};
    offset = std::clamp(offset, 0, length() - 1);
    const auto after = std::upper_bound(m_text.nodeStarts.begin(), m_text.nodeStarts.end(), offset);
    const int index = std::max(0, int(after - m_text.nodeStarts.begin()) - 1);
    const LayoutTextNode &node = *document.textNode(index);
    const int start = m_text.nodeStarts[size_t(index)];
    const int end = start + plainOffset(node, node.length());
    if (offset < start || offset >= end) {
        // Between texts: up to the next one, read as it starts.
        const int next = offset < start ? index : index + 1;
        const int from = offset < start ? 0 : end;
        const int to = next < nodeCount() ? m_text.nodeStarts[size_t(next)] : length();
        const LayoutTextNode &reading = next < nodeCount() ? *document.textNode(next) : node;
        const int position = next < nodeCount() ? 0 : node.length();
        return {from, to,
                AccessibleTextAttributes::around(reading, position, document.appearance(), defaultColor)
                    .attributes};
    }
    // The position of the character at the offset, past pictures and breaks, which are not read.
    const int plain = offset - start;
    int position = positionOfPlainOffset(node, plain);
    while (position < node.length() && plainOffset(node, position + 1) == plain)
        ++position;
    const AccessibleTextAttributes::Run run =
        AccessibleTextAttributes::around(node, position, document.appearance(), defaultColor);
    return {start + plainOffset(node, run.start), start + plainOffset(node, run.end), run.attributes};
}

void AccessibleTextMap::collectElements(const LayoutDocument &document)
{
    QList<HeadingOutline::Heading> headings;
    for (const QList<BlockNode> &blocks : document.blockLists())
        headings += HeadingOutline::of(blocks);
    qsizetype nextHeading = 0;
    document.forEachText([&](const LayoutTextNode &node) {
        const int index = node.documentIndex();
        if (index >= nodeCount())
            return;
        const int start = m_text.nodeStarts[size_t(index)];
        const int block = document.blockOfText(index);
        if (!node.identifier().isEmpty()) {
            // The outline lists the same headings in the same order.
            while (nextHeading < headings.size() && headings.at(nextHeading).identifier != node.identifier())
                ++nextHeading;
            const int level = nextHeading < headings.size() ? headings.at(nextHeading++).level : 1;
            m_elements.append({Element::Kind::heading,
                               node.plainText(),
                               {},
                               level,
                               start,
                               start + plainOffset(node, node.length()),
                               index,
                               0,
                               node.length(),
                               -1,
                               block});
        }
        for (const LayoutTextNode::LinkRange &link : node.linkRanges()) {
            const int from = start + plainOffset(node, link.start);
            const int to = start + plainOffset(node, link.end);
            m_elements.append({Element::Kind::link, m_text.text.mid(from, to - from), link.url, 0, from, to,
                               index, link.start, link.end, -1, block});
        }
    });
    const auto &pictures = document.pictures();
    for (size_t index = 0; index < pictures.size(); ++index) {
        const LayoutBuildContext::Picture &picture = pictures[index];
        if (picture.image < 0) {
            const int at =
                picture.textNode < nodeCount() ? m_text.nodeStarts[size_t(picture.textNode)] : length();
            m_elements.append({Element::Kind::image,
                               picture.alternative,
                               {},
                               0,
                               at,
                               at,
                               -1,
                               0,
                               0,
                               int(index),
                               document.blockOfNode(picture.node)});
            continue;
        }
        if (picture.textNode < 0 || picture.textNode >= nodeCount())
            continue;
        const LayoutTextNode &node = *document.textNode(picture.textNode);
        const QList<int> positions = node.imagePositions();
        const int position = picture.image < positions.size() ? positions.at(picture.image) : 0;
        const int at = m_text.nodeStarts[size_t(picture.textNode)] + plainOffset(node, position);
        m_elements.append({Element::Kind::image,
                           picture.alternative,
                           {},
                           0,
                           at,
                           at,
                           picture.textNode,
                           position,
                           std::min(position + 1, node.length()),
                           -1,
                           document.blockOfText(picture.textNode)});
    }
    // In reading order: a block image before the text that follows it, a heading before the
    // links in it.
    const auto order = [](const Element &element) { return std::pair(element.start, element.picture < 0); };
    std::stable_sort(m_elements.begin(), m_elements.end(),
                     [&order](const Element &a, const Element &b) { return order(a) < order(b); });
}

} // namespace kestrune
