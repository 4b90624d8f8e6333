#include "markdown/layout/view/markdownviewannouncer_p.h"

#include "markdown/layout/document/accessibletextmap_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"
#include "markdown/layout/view/markdowntextcontrol_p.h"
#include "markdown/layout/view/markdownview.h"
#include "markdown/layout/view/markdownviewaccessiblechildren_p.h"

#include <QAccessible>

namespace kestrune {

MarkdownViewAnnouncer::MarkdownViewAnnouncer(MarkdownView &view)
    : m_view(view), m_children(std::make_unique<MarkdownViewAccessibleChildren>(view))
{}

MarkdownViewAnnouncer::~MarkdownViewAnnouncer() = default;

const AccessibleTextMap &MarkdownViewAnnouncer::textMap() const
{
    const LayoutDocument &document = m_view.layoutDocument();
    if (!m_textMap || m_textMap->nodeCount() != document.textCount()) {
        m_textMap = std::make_unique<AccessibleTextMap>(document);
        ++m_generation;
        m_children->follow(*m_textMap, document, m_view.isLayoutComplete());
    }
    return *m_textMap;
}

MarkdownViewAccessibleChildren &MarkdownViewAnnouncer::children() const
{
    textMap();
    return *m_children;
}

void MarkdownViewAnnouncer::dropTextMap()
{
    m_textMap.reset();
    ++m_generation;
}

void MarkdownViewAnnouncer::textReplaced()
{
    m_textReplaced = true;
    dropTextMap();
}

int MarkdownViewAnnouncer::caretOffset() const
{
    return textMap().offsetOf(m_view.layoutDocument(), m_view.m_control->caret());
}

void MarkdownViewAnnouncer::setCaretOffset(int offset)
{
    m_view.m_control->setCaret(textMap().positionOf(m_view.layoutDocument(), offset));
    announceCaret();
}

void MarkdownViewAnnouncer::announceCaret()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent cursor(&m_view, caretOffset());
    QAccessible::updateAccessibility(&cursor);
}

void MarkdownViewAnnouncer::announceTextChanges()
{
    const LayoutDocument &document = m_view.layoutDocument();
    const int count = document.textCount();
    if (!m_textReplaced && count == m_announcedTextNodes) {
        if (QAccessible::isActive() && !m_textMap)
            children().announce(); // the same text, read anew: a picture arrived
        return;
    }
    if (!QAccessible::isActive()) {
        m_textReplaced = true; // told as a whole once someone listens
        return;
    }
    dropTextMap();
    if (m_textReplaced || count < m_announcedTextNodes) {
        // Pages dropped and built again (another zoom) read as a new text, too.
        const QString text = textMap().text();
        QAccessibleTextUpdateEvent update(&m_view, 0, QString(), text);
        QAccessible::updateAccessibility(&update);
        m_announcedLength = int(text.size());
    } else {
        const int lastLength = document.textNode(count - 1)->length();
        LayoutSelection added{0, 0, count - 1, lastLength};
        if (m_announcedTextNodes > 0)
            added = {m_announcedTextNodes - 1, document.textNode(m_announcedTextNodes - 1)->length(),
                     count - 1, lastLength};
        const QString text =
            m_announcedTextNodes > 0 ? document.text(added) : document.text(document.allText());
        QAccessibleTextInsertEvent insert(&m_view, m_announcedLength, text);
        QAccessible::updateAccessibility(&insert);
        m_announcedLength += int(text.size());
    }
    m_textReplaced = false;
    m_announcedTextNodes = count;
    children().announce();
}

void MarkdownViewAnnouncer::announceSelection()
{
    if (!QAccessible::isActive())
        return;
    const LayoutDocument &document = m_view.layoutDocument();
    const LayoutSelection &selection = m_view.m_control->selection();
    const AccessibleTextMap &map = textMap();
    const int start =
        selection.isEmpty() ? 0 : map.offsetOf(document, {selection.startNode, selection.startOffset});
    const int end =
        selection.isEmpty() ? 0 : map.offsetOf(document, {selection.endNode, selection.endOffset});
    QAccessibleTextSelectionEvent changed(&m_view, start, end);
    QAccessible::updateAccessibility(&changed);
    QAccessibleTextCursorEvent cursor(&m_view, map.offsetOf(document, m_view.m_control->caret()));
    QAccessible::updateAccessibility(&cursor);
}

} // namespace kestrune
