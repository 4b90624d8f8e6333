#pragma once

#include <QTreeView>

namespace kestrune {

// The outline list: single selection in which only selectable rows ever take the selection.
// Moving onto or clicking a row that cannot be selected (a folder) keeps the selection as it is.
//
// With the keyboard, the current row follows the arrow keys onto every row, folders included,
// and carries a focus ring while the list has the focus. Enter (like Right) opens a closed
// folder and closes an open one; on a file it reports rowActivated.
class OutlineListView : public QTreeView
{
    Q_OBJECT

public:
    explicit OutlineListView(QWidget *parent = nullptr);

    // Where the selection highlight and the focus ring of a row are drawn.
    QRectF rowHighlightRect(const QRect &rowRect) const;

Q_SIGNALS:
    // Enter on a row that is not a folder.
    void rowActivated(const QModelIndex &index);

protected:
    // The selected row is highlighted across its whole width, indentation included; the current
    // row has a ring in the accent colour while the list has the focus.
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
};

} // namespace kestrune
