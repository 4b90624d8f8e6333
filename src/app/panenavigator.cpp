#include "app/panenavigator.h"

#include "app/dashboardbutton.h"
#include "app/detailarea.h"
#include "app/maincontentview.h"
#include "app/maintoolbar.h"
#include "app/projecttabbutton.h"
#include "app/projecttabsbar.h"
#include "app/sidebarpane.h"
#include "preview/markdownpreviewview.h"
#include "sidebar/outlinelistview.h"
#include "sidebar/projectsearchfield.h"
#include "sidebar/projecttreeview.h"
#include "sidebar/searchresultsview.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <array>

namespace kestrune {

namespace {

constexpr std::array<PaneNavigator::Pane, 4> tabOrder = {
    PaneNavigator::Pane::tabs, PaneNavigator::Pane::toolbar, PaneNavigator::Pane::sidebar,
    PaneNavigator::Pane::detail};
constexpr std::array<PaneNavigator::Pane, 3> paneCycle = {
    PaneNavigator::Pane::tabs, PaneNavigator::Pane::sidebar, PaneNavigator::Pane::detail};

bool takesTabFocus(const QWidget *widget)
{
    return widget && widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) &&
           !widget->focusProxy();
}

} // namespace

PaneNavigator::PaneNavigator(const MainContentView &view) : m_view(view) {}

QList<QWidget *> PaneNavigator::controls(Pane pane) const
{
    QList<QWidget *> found;
    const auto add = [&found](QWidget *widget) {
        if (takesTabFocus(widget))
            found.append(widget);
    };
    switch (pane) {
    case Pane::tabs:
        if (m_view.tabsBar()->isVisible()) {
            for (ProjectTabButton *tab : m_view.tabsBar()->tabs())
                add(tab);
        }
        break;
    case Pane::toolbar:
        for (QToolButton *button : m_view.toolBar()->buttons())
            add(button);
        break;
    case Pane::sidebar:
        add(m_view.sidebar()->searchField()->lineEdit());
        add(m_view.sidebar()->dashboardButton());
        add(m_view.sidebar()->treeView()->listView());
        add(m_view.sidebar()->searchResults()->listView());
        break;
    case Pane::detail: {
        // As they are seen: row by row, from the leading edge. A view builds its widgets in an
        // order of its own (a dashboard makes its section headers before their cards).
        const DetailArea *area = m_view.detailArea();
        QWidget *start = area->window();
        for (QWidget *widget = start->nextInFocusChain(); widget && widget != start;
             widget = widget->nextInFocusChain()) {
            if (area->isAncestorOf(widget))
                add(widget);
        }
        std::stable_sort(found.begin(), found.end(), [area](const QWidget *left, const QWidget *right) {
            const QPoint a = left->mapTo(area, QPoint(0, 0));
            const QPoint b = right->mapTo(area, QPoint(0, 0));
            return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
        });
        break;
    }
    }
    return found;
}

QList<QWidget *> PaneNavigator::focusChain() const
{
    QList<QWidget *> chain;
    for (const Pane pane : tabOrder)
        chain += controls(pane);
    return chain;
}

std::optional<PaneNavigator::Pane> PaneNavigator::paneOf(const QWidget *widget) const
{
    if (!widget)
        return std::nullopt;
    const auto within = [widget](const QWidget *pane) {
        return pane == widget || pane->isAncestorOf(widget);
    };
    if (within(m_view.tabsBar()))
        return Pane::tabs;
    if (within(m_view.toolBar()))
        return Pane::toolbar;
    if (within(m_view.sidebar()))
        return Pane::sidebar;
    if (within(m_view.detailArea()))
        return Pane::detail;
    return std::nullopt;
}

bool PaneNavigator::moveFocus(bool forward)
{
    const QList<QWidget *> chain = focusChain();
    const QWidget *current = m_view.window()->focusWidget();
    if (chain.isEmpty() || !current)
        return false;
    qsizetype index = chain.indexOf(current);
    for (qsizetype i = 0; index < 0 && i < chain.size(); ++i) {
        // Inside a control made of several widgets.
        if (chain.at(i)->isAncestorOf(current))
            index = i;
    }
    if (index < 0)
        return false;
    const qsizetype count = chain.size();
    focus(chain.at((index + (forward ? 1 : count - 1)) % count), forward);
    return true;
}

bool PaneNavigator::focusPane(Pane pane)
{
    const QList<QWidget *> candidates = controls(pane);
    if (candidates.isEmpty())
        return false;
    QWidget *target = candidates.constFirst();
    if (pane == Pane::tabs) {
        for (ProjectTabButton *tab : m_view.tabsBar()->tabs()) {
            if (tab->isSelected() && candidates.contains(tab))
                target = tab;
        }
    } else if (pane == Pane::sidebar) {
        if (QWidget *outline = m_view.sidebar()->treeView()->listView(); candidates.contains(outline))
            target = outline;
        else if (QWidget *results = m_view.sidebar()->searchResults()->listView();
                 candidates.contains(results))
            target = results;
    } else if (pane == Pane::detail) {
        // A document is read with the keys: it goes before the preview's header.
        if (const auto *preview =
                qobject_cast<const MarkdownPreviewView *>(m_view.detailArea()->currentView())) {
            for (QWidget *candidate : candidates) {
                const QWidget *content = preview->contentView();
                if (content && (candidate == content || content->isAncestorOf(candidate))) {
                    target = candidate;
                    break;
                }
            }
        }
    }
    focus(target, true);
    return true;
}

void PaneNavigator::cyclePanes(bool forward)
{
    const std::optional<Pane> current = paneOf(m_view.window()->focusWidget());
    const auto position = std::find(paneCycle.cbegin(), paneCycle.cend(), current.value_or(Pane::detail));
    // From nowhere the cycle starts over at the tabs; from the toolbar it goes on as from the
    // tabs, which come before it.
    const std::size_t size = paneCycle.size();
    const std::size_t index = position == paneCycle.cend() ? 0 : std::size_t(position - paneCycle.cbegin());
    for (std::size_t step = 1; step <= size; ++step) {
        const std::size_t next = forward ? (index + step) % size : (index + size - step) % size;
        if (focusPane(paneCycle.at(next)))
            return;
    }
}

void PaneNavigator::focus(QWidget *widget, bool forward)
{
    widget->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    // A control below the fold of a scrolled page comes into view.
    for (QWidget *ancestor = widget->parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto *scrollArea = qobject_cast<QScrollArea *>(ancestor);
            scrollArea && scrollArea->widget() && scrollArea->widget()->isAncestorOf(widget))
            scrollArea->ensureWidgetVisible(widget);
    }
}

} // namespace kestrune
