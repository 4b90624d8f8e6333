#include "dashboard/cardbuildqueue.h"

#include "dashboard/adaptivegridlayout.h"

#include <QWidget>

#include <algorithm>

namespace kestrune {

namespace {

// The part of `widget` its ancestors do not clip away, in its own coordinates.
QRect unclippedRect(const QWidget *widget)
{
    QRect rect = widget->rect();
    QPoint offset;
    for (const QWidget *child = widget; !child->isWindow() && child->parentWidget();
         child = child->parentWidget()) {
        offset += child->pos();
        rect &= child->parentWidget()->rect().translated(-offset);
    }
    return rect;
}

// The widget of a card that takes the focus: the card, or else the first of its children that does.
QWidget *focusTarget(QWidget *card)
{
    if (card->focusPolicy() != Qt::NoFocus)
        return card;
    const QList<QWidget *> children = card->findChildren<QWidget *>();
    const auto found = std::find_if(children.cbegin(), children.cend(),
                                    [](const QWidget *child) { return child->focusPolicy() != Qt::NoFocus; });
    return found != children.cend() ? *found : nullptr;
}

} // namespace

CardBuildQueue::CardBuildQueue(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &CardBuildQueue::buildSlice);
}

CardBuildQueue::~CardBuildQueue() = default;

void CardBuildQueue::add(int rank, QWidget *container, AdaptiveGridLayout *grid, Factory factory)
{
    Grid entry{rank, container, grid, std::move(factory), 0};
    if (!advance(entry))
        return;
    const auto after = std::upper_bound(m_grids.begin(), m_grids.end(), rank,
                                        [](int value, const Grid &queued) { return value < queued.rank; });
    if (m_grids.isEmpty()) {
        m_pageOrder.clear();
        m_outOfOrder = false;
    }
    m_pageOrder.insert(std::upper_bound(m_pageOrder.begin(), m_pageOrder.end(), rank,
                                        [](int value, const Grid &queued) { return value < queued.rank; }),
                       Grid{rank, container, grid, {}, 0});
    m_grids.insert(after, std::move(entry));
    schedule();
}

void CardBuildQueue::buildNowIfAtMost(int count)
{
    dropFinishedGrids();
    if (m_grids.isEmpty() || pendingCount() > count)
        return;
    for (Grid &grid : m_grids) {
        while (advance(grid))
            buildCard(grid, grid.next++);
    }
    resumeLayouts();
    m_grids.clear();
    m_timer.stop();
    finish();
}

void CardBuildQueue::finish()
{
    // Qt's focus chain follows the order widgets were made in: the cards made ahead of the
    // others, on screen, go back to their place in the page.
    if (m_outOfOrder) {
        QWidget *previous = nullptr;
        for (const Grid &grid : std::as_const(m_pageOrder)) {
            if (!grid.container || grid.container->layout() != grid.grid)
                continue;
            for (int index = 0; index < grid.grid->count(); ++index) {
                QWidget *card = grid.grid->itemAt(index)->widget();
                QWidget *target = card ? focusTarget(card) : nullptr;
                if (!target)
                    continue;
                if (previous)
                    QWidget::setTabOrder(previous, target);
                previous = target;
            }
        }
    }
    m_pageOrder.clear();
    m_outOfOrder = false;
    Q_EMIT finished();
}

bool CardBuildQueue::isBuilding() const
{
    return pendingCount() > 0;
}

int CardBuildQueue::pendingCount() const
{
    int count = 0;
    for (const Grid &grid : m_grids) {
        if (grid.container && grid.container->layout() == grid.grid)
            count += grid.grid->placeholderCount();
    }
    return count;
}

void CardBuildQueue::buildSlice()
{
    QElapsedTimer clock;
    clock.start();
    const auto sliceOver = [&clock] { return clock.elapsed() >= sliceMilliseconds; };
    dropFinishedGrids();

    // The placeholders on screen first, wherever the page is scrolled to. Cards made there are
    // painted in this turn too: the slice ends with them.
    int onScreen = 0;
    for (Grid &grid : m_grids) {
        if (!grid.container->isVisible() || onScreen >= onScreenCardsPerSlice)
            continue;
        const QRect visible = unclippedRect(grid.container);
        if (visible.isEmpty())
            continue;
        for (int index = grid.next;
             index < grid.grid->count() && onScreen < onScreenCardsPerSlice && !sliceOver(); ++index) {
            const QRect cell = grid.grid->itemAt(index)->geometry();
            if (cell.top() > visible.bottom())
                break; // the rows below
            if (cell.intersects(visible) && buildCard(grid, index)) {
                ++onScreen;
                if (index == grid.next && &grid == &m_grids.front())
                    ++grid.next; // in page order after all
                else
                    m_outOfOrder = true;
            }
        }
    }
    // Then the rest, from the top of the page.
    for (Grid &grid : m_grids) {
        while (onScreen == 0 && !sliceOver() && advance(grid))
            buildCard(grid, grid.next++);
    }
    resumeLayouts();

    dropFinishedGrids();
    if (m_grids.isEmpty())
        finish();
    else
        schedule();
}

bool CardBuildQueue::buildCard(Grid &grid, int index)
{
    if (!grid.grid->isPlaceholder(index))
        return false;
    QWidget *card = grid.factory(index, grid.container);
    // Shown here, at once, not on the next turn as a layout shows the widgets it is given: the
    // slice's time counts it.
    card->hide();
    grid.grid->fillPlaceholder(index, card);
    if (grid.container->isVisible() && grid.grid->isEnabled()) {
        // A widget shown on a visible parent lays out the parent's layouts at once, and showing
        // it made the grid's layout out of date again: one pass over every card of the grid per
        // card. The grid sits still until the slice is over instead (each card takes its
        // placeholder's geometry), and is laid out once on the next turn.
        grid.grid->setEnabled(false);
        m_paused.append(grid.container);
    }
    card->show();
    return true;
}

bool CardBuildQueue::advance(Grid &grid)
{
    const int count = grid.grid->count();
    while (grid.next < count && !grid.grid->isPlaceholder(grid.next))
        ++grid.next;
    return grid.next < count;
}

void CardBuildQueue::resumeLayouts()
{
    for (const QPointer<QWidget> &container : std::as_const(m_paused)) {
        if (container && container->layout()) {
            container->layout()->setEnabled(true);
            container->layout()->invalidate();
        }
    }
    m_paused.clear();
}

void CardBuildQueue::dropFinishedGrids()
{
    for (qsizetype i = m_grids.size() - 1; i >= 0; --i) {
        Grid &grid = m_grids[i];
        if (!grid.container || grid.container->layout() != grid.grid || !advance(grid))
            m_grids.removeAt(i);
    }
}

void CardBuildQueue::schedule()
{
    if (!m_timer.isActive())
        m_timer.start();
}

} // namespace kestrune
