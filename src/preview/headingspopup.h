#pragma once

#include "ui/filterpopup.h"

#include <QList>
#include <QString>

class QListWidget;

namespace kestrune {

// The headings of the document on show as a popup list, indented by level, the one the reader is
// in set in bold and chosen at first. Typing narrows the list to the headings that contain the
// text; Up and Down move through it, Enter or a click goes to a heading, Escape closes.
class HeadingsPopup : public FilterPopup
{
    Q_OBJECT

public:
    struct Entry
    {
        int level = 1;
        QString text;
    };

    static constexpr int indentPerLevel = 16;
    // The level of a row's heading, in the list's items.
    static constexpr int levelRole = Qt::UserRole + 1;

    explicit HeadingsPopup(QWidget *parent = nullptr);

    // `current`: the index of the heading the reader is in, -1 for none.
    void setHeadings(const QList<Entry> &headings, int current);
    // Shows the popup with its top left corner there, the filter field focused.
    void popUp(const QPoint &globalPosition);

    QListWidget *list() const { return m_list; }
    // The indices of the headings the filter leaves, in order.
    QList<int> shownHeadings() const;

Q_SIGNALS:
    void headingChosen(int index);

protected:
    // A click makes its row current as an item of the list.
    void makeCurrent(const QModelIndex &index) override;
    void chooseCurrent() override;

private:
    HeadingsPopup(QListWidget *list, QWidget *parent);

    void applyFilter(const QString &text);

    QListWidget *m_list; // the filter popup's list, as the list of headings it is
};

} // namespace kestrune
