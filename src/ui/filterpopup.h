#pragma once

#include <QFrame>

class QLineEdit;
class QListView;
class QModelIndex;
class QVBoxLayout;

namespace kestrune {

// A popup of a filter field above a list. What is typed narrows the list (each popup decides how);
// Up, Down, Page Up and Page Down move through the list while the field keeps the focus; Enter or a
// click chooses the current row; Escape closes. The popup deletes itself once closed.
class FilterPopup : public QFrame
{
    Q_OBJECT

public:
    QLineEdit *filterField() const { return m_field; }
    QListView *listView() const { return m_list; }

protected:
    // Takes the list and lays it out below the field; `spacing` is both the popup's margin and the
    // room between its parts. The list gets no focus of its own: the field passes the keys on.
    FilterPopup(QListView *list, int spacing, QWidget *parent);

    // For what a popup shows below the list.
    QVBoxLayout *contentLayout() const { return m_layout; }
    // Makes the clicked row the current one before it is chosen; by default through the list's
    // current index.
    virtual void makeCurrent(const QModelIndex &index);
    // Enter, or a click: acts on the current row, if there is one, and closes the popup.
    virtual void chooseCurrent() = 0;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *m_field;
    QListView *m_list;
    QVBoxLayout *m_layout;
};

} // namespace kestrune
