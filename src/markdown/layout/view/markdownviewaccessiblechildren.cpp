#include "markdown/layout/view/markdownviewaccessiblechildren_p.h"

#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/view/markdownview.h"
#include "markdown/layout/view/markdownviewannouncer_p.h"
#include "markdown/layout/view/markdownviewelementaccessible_p.h"

#include <QHash>

namespace kestrune {

namespace {

// Whether an interface made for one element reads the same for another.
bool readsAlike(const AccessibleTextMap::Element &left, const AccessibleTextMap::Element &right)
{
    return left.kind == right.kind && left.level == right.level && left.name == right.name &&
           left.url == right.url;
}

} // namespace

MarkdownViewAccessibleChildren::MarkdownViewAccessibleChildren(MarkdownView &view) : m_view(view) {}

MarkdownViewAccessibleChildren::~MarkdownViewAccessibleChildren()
{
    for (const Slot &slot : m_slots) {
        if (slot.id != 0)
            QAccessible::deleteAccessibleInterface(slot.id);
    }
    for (const Held &held : m_waiting)
        QAccessible::deleteAccessibleInterface(held.id);
    for (const Gone &gone : m_gone)
        QAccessible::deleteAccessibleInterface(gone.id);
}

MarkdownViewElementAccessible *MarkdownViewAccessibleChildren::interfaceOf(QAccessible::Id id)
{
    return static_cast<MarkdownViewElementAccessible *>(QAccessible::accessibleInterface(id));
}

QAccessibleInterface *MarkdownViewAccessibleChildren::child(int index) const
{
    const AccessibleTextMap &map = m_view.announcer().textMap();
    if (index < 0 || index >= count())
        return nullptr;
    Slot &slot = m_slots[size_t(index)];
    if (slot.id == 0) {
        slot.id = QAccessible::registerAccessibleInterface(
            new MarkdownViewElementAccessible(&m_view, map.elements().at(index), index));
        const LayoutDocument &document = m_view.layoutDocument();
        if (slot.blockIndex >= 0 && slot.blockIndex < document.blockCount())
            slot.block = document.block(slot.blockIndex);
    }
    return QAccessible::accessibleInterface(slot.id);
}

int MarkdownViewAccessibleChildren::indexOf(const QAccessibleInterface *child) const
{
    const auto *element = dynamic_cast<const MarkdownViewElementAccessible *>(child);
    if (!element)
        return -1;
    const int index = element->index();
    if (index < 0 || index >= count() ||
        m_slots[size_t(index)].id != QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child)))
        return -1;
    return index;
}

void MarkdownViewAccessibleChildren::follow(const AccessibleTextMap &map, const LayoutDocument &document,
                                            bool pageComplete)
{
    if (!QAccessible::isActive())
        letGoOfGone(); // nobody to tell; announce does it otherwise

    std::vector<Held> held = std::exchange(m_waiting, {});
    for (Slot &slot : m_slots) {
        if (slot.id != 0)
            held.push_back({slot.id, std::move(slot.block), slot.blockIndex, slot.ordinal, slot.told});
    }

    const QList<AccessibleTextMap::Element> &elements = map.elements();
    std::vector<Slot> slots(size_t(elements.size()));
    QHash<int, int> elementsInBlock;
    int coveredBlocks = document.textCount() > 0 ? document.blockOfText(document.textCount() - 1) + 1 : 0;
    for (qsizetype index = 0; index < elements.size(); ++index) {
        Slot &slot = slots[size_t(index)];
        slot.blockIndex = elements.at(index).block;
        slot.ordinal = elementsInBlock[slot.blockIndex]++;
        coveredBlocks = std::max(coveredBlocks, slot.blockIndex + 1);
    }
    if (!held.empty())
        keepUnchanged(held, slots, map, document);
    m_slots = std::move(slots);

    for (Held &left : held) {
        if (left.id == 0)
            continue; // kept
        if (MarkdownViewElementAccessible *element = interfaceOf(left.id))
            element->leaveTree();
        if (!pageComplete && left.blockIndex >= coveredBlocks)
            m_waiting.push_back(std::move(left)); // its block is not built again yet
        else
            m_gone.push_back({left.id, left.told});
    }
}

void MarkdownViewAccessibleChildren::keepUnchanged(std::vector<Held> &held, std::vector<Slot> &slots,
                                                   const AccessibleTextMap &map,
                                                   const LayoutDocument &document)
{
    // Looked up where they stood first (the same page laid out again), then by their block's
    // content (blocks inserted or removed before them).
    QHash<std::pair<int, int>, size_t> byPlace;
    for (size_t index = 0; index < held.size(); ++index)
        byPlace.insert({held[index].blockIndex, held[index].ordinal}, index);
    QHash<size_t, std::vector<size_t>> byContent;
    bool hashed = false;

    const QList<AccessibleTextMap::Element> &elements = map.elements();
    for (size_t index = 0; index < slots.size(); ++index) {
        Slot &slot = slots[index];
        if (slot.blockIndex < 0 || slot.blockIndex >= document.blockCount())
            continue;
        const BlockNode &block = document.block(slot.blockIndex);
        const AccessibleTextMap::Element &element = elements.at(qsizetype(index));
        const auto fits = [&](size_t candidate) {
            const Held &old = held[candidate];
            if (old.id == 0 || old.ordinal != slot.ordinal || !old.block || !(*old.block == block))
                return false;
            const MarkdownViewElementAccessible *made = interfaceOf(old.id);
            return made && readsAlike(made->element(), element);
        };
        std::optional<size_t> found;
        if (const auto at = byPlace.constFind({slot.blockIndex, slot.ordinal});
            at != byPlace.constEnd() && fits(*at)) {
            found = *at;
        } else {
            if (!hashed) {
                for (size_t candidate = 0; candidate < held.size(); ++candidate) {
                    if (held[candidate].block)
                        byContent[qHash(*held[candidate].block)].push_back(candidate);
                }
                hashed = true;
            }
            const auto candidates = byContent.constFind(qHash(block));
            if (candidates != byContent.constEnd()) {
                const auto first = std::find_if(candidates->cbegin(), candidates->cend(), fits);
                if (first != candidates->cend())
                    found = *first;
            }
        }
        if (!found)
            continue;
        Held &kept = held[*found];
        slot.id = std::exchange(kept.id, 0);
        slot.block = block;
        slot.told = kept.told;
        interfaceOf(slot.id)->follow(element, int(index));
    }
}

void MarkdownViewAccessibleChildren::announce()
{
    for (const Gone &gone : m_gone) {
        if (QAccessibleInterface *element = gone.told ? QAccessible::accessibleInterface(gone.id) : nullptr) {
            QAccessibleEvent destroyed(element, QAccessible::ObjectDestroyed);
            QAccessible::updateAccessibility(&destroyed);
        }
    }
    letGoOfGone();
    for (int index = 0; index < count(); ++index) {
        if (m_slots[size_t(index)].told)
            continue;
        if (QAccessibleInterface *element = child(index)) {
            m_slots[size_t(index)].told = true;
            QAccessibleEvent created(element, QAccessible::ObjectCreated);
            QAccessible::updateAccessibility(&created);
        }
    }
}

void MarkdownViewAccessibleChildren::letGoOfGone()
{
    for (const Gone &gone : std::exchange(m_gone, {}))
        QAccessible::deleteAccessibleInterface(gone.id);
}

} // namespace kestrune
