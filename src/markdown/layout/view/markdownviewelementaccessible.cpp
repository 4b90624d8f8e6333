#include "markdown/layout/view/markdownviewelementaccessible_p.h"

#include "markdown/layout/document/accessibletextmap_p.h"
#include "markdown/layout/view/markdownview.h"
#include "markdown/layout/view/markdownviewannouncer_p.h"

#include "ui/localization.h"

#include <QWidget>
#include <QWindow>

namespace kestrune {

MarkdownViewElementAccessible::MarkdownViewElementAccessible(MarkdownView *view, int index, int generation)
    : m_view(view), m_index(index), m_generation(generation)
{}

const AccessibleTextMap::Element *MarkdownViewElementAccessible::element() const
{
    if (!m_view)
        return nullptr;
    const QList<AccessibleTextMap::Element> &elements = m_view->announcer().textMap().elements();
    if (m_view->announcer().generation() != m_generation)
        return nullptr;
    return m_index >= 0 && m_index < elements.size() ? &elements.at(m_index) : nullptr;
}

bool MarkdownViewElementAccessible::isValid() const
{
    return element() != nullptr;
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
    const AccessibleTextMap::Element *element = this->element();
    if (!element)
        return {};
    switch (t) {
    case QAccessible::Name:
        return element->name;
    case QAccessible::Description:
        if (element->kind == AccessibleTextMap::Element::Kind::heading)
            return Localization::format("markdown.accessible.heading_level", element->level);
        return element->url.toString();
    case QAccessible::Value:
        return element->kind == AccessibleTextMap::Element::Kind::link ? element->url.toString() : QString();
    default:
        return {};
    }
}

QRect MarkdownViewElementAccessible::rect() const
{
    const AccessibleTextMap::Element *element = this->element();
    if (!element)
        return {};
    const QRectF area = m_view->announcer().textMap().elementRect(m_view->layoutDocument(), *element);
    if (area.isNull())
        return {};
    const QPointF topLeft = m_view->viewportPoint(area.topLeft());
    const QPointF bottomRight = m_view->viewportPoint(area.bottomRight());
    const QRect local = QRectF(topLeft, bottomRight).toAlignedRect();
    return QRect(m_view->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role MarkdownViewElementAccessible::role() const
{
    const AccessibleTextMap::Element *element = this->element();
    if (!element)
        return QAccessible::NoRole;
    switch (element->kind) {
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
    const AccessibleTextMap::Element *element = this->element();
    if (!element) {
        state.invalid = true;
        return state;
    }
    if (element->kind == AccessibleTextMap::Element::Kind::link)
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
    const AccessibleTextMap::Element *element = this->element();
    if (element && element->kind == AccessibleTextMap::Element::Kind::link)
        return {pressAction()};
    return {};
}

void MarkdownViewElementAccessible::doAction(const QString &actionName)
{
    const AccessibleTextMap::Element *element = this->element();
    if (element && element->kind == AccessibleTextMap::Element::Kind::link && actionName == pressAction())
        m_view->activateLink(element->url);
}

std::pair<int, int> MarkdownViewElementAccessible::textRange() const
{
    const AccessibleTextMap::Element *element = this->element();
    return element ? std::pair{element->start, element->end} : std::pair{-1, -1};
}

} // namespace kestrune
