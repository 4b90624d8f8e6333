#include "markdown/layout/view/markdownviewelementaccessible_p.h"

#include "markdown/layout/document/accessibletextmap_p.h"
#include "markdown/layout/view/markdownview.h"
#include "markdown/layout/view/markdownviewannouncer_p.h"

#include "ui/localization.h"

#include <QWidget>
#include <QWindow>

namespace kestrune {

MarkdownViewElementAccessible::MarkdownViewElementAccessible(MarkdownView *view,
                                                             const AccessibleTextMap::Element &element,
                                                             int index)
    : m_view(view), m_element(element), m_index(index)
{}

void MarkdownViewElementAccessible::follow(const AccessibleTextMap::Element &element, int index)
{
    m_element = element;
    m_index = index;
}

bool MarkdownViewElementAccessible::isValid() const
{
    return m_view != nullptr;
}

QWindow *MarkdownViewElementAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface *MarkdownViewElementAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QString MarkdownViewElementAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return m_element.name;
    case QAccessible::Description:
        if (m_element.kind == AccessibleTextMap::Element::Kind::heading)
            return Localization::format("markdown.accessible.heading_level", m_element.level);
        return m_element.url.toString();
    case QAccessible::Value:
        return m_element.kind == AccessibleTextMap::Element::Kind::link ? m_element.url.toString()
                                                                        : QString();
    default:
        return {};
    }
}

QRect MarkdownViewElementAccessible::rect() const
{
    if (!isInTree())
        return {};
    m_view->announcer().textMap(); // where the element stands now, after any layout since
    if (!isInTree())
        return {};
    const QRectF area = AccessibleTextMap::elementRect(m_view->layoutDocument(), m_element);
    if (area.isNull())
        return {};
    const QPointF topLeft = m_view->viewportPoint(area.topLeft());
    const QPointF bottomRight = m_view->viewportPoint(area.bottomRight());
    const QRect local = QRectF(topLeft, bottomRight).toAlignedRect();
    return QRect(m_view->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role MarkdownViewElementAccessible::role() const
{
    switch (m_element.kind) {
    case AccessibleTextMap::Element::Kind::heading:
        return QAccessible::Heading;
    case AccessibleTextMap::Element::Kind::link:
        return QAccessible::Link;
    case AccessibleTextMap::Element::Kind::image:
        return QAccessible::Graphic;
    }
    return QAccessible::NoRole;
}

QAccessible::State MarkdownViewElementAccessible::state() const
{
    QAccessible::State state;
    state.readOnly = true;
    if (!m_view) {
        state.invalid = true;
        return state;
    }
    if (m_element.kind == AccessibleTextMap::Element::Kind::link)
        state.linked = true;
    const QRect area = rect();
    const QRect shown(m_view->viewport()->mapToGlobal(QPoint(0, 0)), m_view->viewport()->size());
    state.offscreen = !area.intersects(shown);
    state.invisible = !m_view->isVisible();
    return state;
}

void *MarkdownViewElementAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList MarkdownViewElementAccessible::actionNames() const
{
    if (m_element.kind == AccessibleTextMap::Element::Kind::link)
        return {pressAction()};
    return {};
}

void MarkdownViewElementAccessible::doAction(const QString &actionName)
{
    if (m_view && m_element.kind == AccessibleTextMap::Element::Kind::link && actionName == pressAction())
        m_view->activateLink(m_element.url);
}

std::pair<int, int> MarkdownViewElementAccessible::textRange() const
{
    return isInTree() ? std::pair{m_element.start, m_element.end} : std::pair{-1, -1};
}

} // namespace kestrune
