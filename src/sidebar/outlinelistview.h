#pragma once

#include <QTreeView>

namespace kestrune {

// The outline list: single selection in which only selectable rows ever take the selection.
// Moving onto or clicking a row that cannot be selected (a folder) keeps the selection as it is.
class OutlineListView : public QTreeView
{
    Q_OBJECT

public:
    explicit OutlineListView(QWidget *parent = nullptr);

protected:
    // The selected row is highlighted across its whole width, indentation included.
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
};

} // namespace kestrune
