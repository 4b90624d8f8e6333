#include "sidebar/outlinelistview.h"

#include <QHeaderView>

OutlineListView::OutlineListView(QWidget *parent)
    : QTreeView(parent)
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
}

QItemSelectionModel::SelectionFlags OutlineListView::selectionCommand(const QModelIndex &index,
                                                                      const QEvent *event) const
{
    if (!index.isValid() || !(index.flags() & Qt::ItemIsSelectable))
        return QItemSelectionModel::NoUpdate;
    return QTreeView::selectionCommand(index, event);
}
