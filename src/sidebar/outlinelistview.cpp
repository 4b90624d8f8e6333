#include "sidebar/outlinelistview.h"

#include "sidebar/sidebarcolors.h"

#include <QHeaderView>
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

void OutlineListView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    if (selectionModel() && selectionModel()->isSelected(index)) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(SidebarColors::selection.resolve(this->palette()));
        const QRectF row(viewport()->rect().left() + 4, option.rect.top() + 1, viewport()->width() - 8,
                         option.rect.height() - 2);
        painter->drawRoundedRect(row, 5, 5);
        painter->restore();
    }
    QTreeView::drawRow(painter, option, index);
}

QItemSelectionModel::SelectionFlags OutlineListView::selectionCommand(const QModelIndex &index,
                                                                      const QEvent *event) const
{
    if (!index.isValid() || !(index.flags() & Qt::ItemIsSelectable))
        return QItemSelectionModel::NoUpdate;
    return QTreeView::selectionCommand(index, event);
}

} // namespace kestrune
