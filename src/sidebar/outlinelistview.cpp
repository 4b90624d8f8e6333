#include "sidebar/outlinelistview.h"

#include "sidebar/sidebarcolors.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

namespace kestrune {

OutlineListView::OutlineListView(QWidget *parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setFrameShape(QFrame::NoFrame);
    setUniformRowHeights(true);
    setAnimated(false);
    setExpandsOnDoubleClick(false); // folders open through their disclosure indicator only
    setItemsExpandable(true);
    setIndentation(14);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    header()->setStretchLastSection(true);
    // The style's own selection fill is replaced by the rounded highlight of drawRow.
    QPalette palette;
    palette.setColor(QPalette::Highlight, Qt::transparent);
    setPalette(palette);
}

QRectF OutlineListView::rowHighlightRect(const QRect &rowRect) const
{
    return {viewport()->rect().left() + 4.0, rowRect.top() + 1.0, viewport()->width() - 8.0,
            rowRect.height() - 2.0};
}

void OutlineListView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    const QRectF row = rowHighlightRect(option.rect);
    if (selectionModel() && selectionModel()->isSelected(index)) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(SidebarColors::selection.resolve(this->palette()));
        painter->drawRoundedRect(row, 5, 5);
        painter->restore();
    }
    QTreeView::drawRow(painter, option, index);
    if (hasFocus() && index == currentIndex()) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(SidebarColors::focusRing.resolve(this->palette()), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(row.adjusted(1, 1, -1, -1), 4, 4);
        painter->restore();
    }
}

void OutlineListView::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex current = currentIndex();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || !current.isValid() || event->modifiers() & ~Qt::KeypadModifier) {
        QTreeView::keyPressEvent(event);
        return;
    }
    // A folder, even an empty one, can be opened; a file cannot.
    if (!(current.flags() & Qt::ItemNeverHasChildren))
        setExpanded(current, !isExpanded(current));
    else
        Q_EMIT rowActivated(current);
    event->accept();
}

void OutlineListView::focusInEvent(QFocusEvent *event)
{
    QTreeView::focusInEvent(event);
    viewport()->update(); // the ring spans the row, beyond the item's own rectangle
}

void OutlineListView::focusOutEvent(QFocusEvent *event)
{
    QTreeView::focusOutEvent(event);
    viewport()->update();
}

void OutlineListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    viewport()->update();
}

QItemSelectionModel::SelectionFlags OutlineListView::selectionCommand(const QModelIndex &index,
                                                                      const QEvent *event) const
{
    if (!index.isValid() || !(index.flags() & Qt::ItemIsSelectable))
        return QItemSelectionModel::NoUpdate;
    return QTreeView::selectionCommand(index, event);
}

} // namespace kestrune
