#pragma once

#include <QFrame>
#include <QList>
#include <QString>

class QLineEdit;
class QListWidget;

namespace kestrune {

// The headings of the document on show as a popup list, indented by level, the one the reader is
// in set in bold and chosen at first. Typing narrows the list to the headings that contain the
// text; Up and Down move through it, Enter or a click goes to a heading, Escape closes.
class HeadingsPopup : public QFrame
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

    QLineEdit *filterField() const { return m_filter; }
    QListWidget *list() const { return m_list; }
    // The indices of the headings the filter leaves, in order.
    QList<int> shownHeadings() const;

Q_SIGNALS:
    void headingChosen(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyFilter(const QString &text);
    void chooseCurrent();

    QLineEdit *m_filter = nullptr;
    QListWidget *m_list = nullptr;
};

} // namespace kestrune
