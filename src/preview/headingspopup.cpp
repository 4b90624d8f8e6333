#include "preview/headingspopup.h"

#include "ui/localization.h"

#include <QLineEdit>
#include <QListWidget>
#include <QStyledItemDelegate>

namespace kestrune {

namespace {

constexpr int popupWidth = 360;
constexpr int visibleRows = 14;

// Moves each row in by its heading's level.
class IndentingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex &index)
    {
        return (std::max(1, index.data(HeadingsPopup::levelRole).toInt()) - 1) *
               HeadingsPopup::indentPerLevel;
    }
};

} // namespace

HeadingsPopup::HeadingsPopup(QWidget *parent) : HeadingsPopup(new QListWidget, parent) {}

HeadingsPopup::HeadingsPopup(QListWidget *list, QWidget *parent) : FilterPopup(list, 4, parent), m_list(list)
{
    setObjectName(QStringLiteral("headingsPopup"));
    filterField()->setObjectName(QStringLiteral("headingsFilter"));
    filterField()->setPlaceholderText(Localization::text("markdown.headings.filter"));
    m_list->setObjectName(QStringLiteral("headingsList"));
    m_list->setItemDelegate(new IndentingDelegate(m_list));

    connect(filterField(), &QLineEdit::textChanged, this, &HeadingsPopup::applyFilter);
}

void HeadingsPopup::setHeadings(const QList<Entry> &headings, int current)
{
    m_list->clear();
    for (const Entry &heading : headings) {
        auto *item = new QListWidgetItem(heading.text, m_list);
        item->setData(levelRole, heading.level);
        item->setData(Qt::AccessibleDescriptionRole,
                      Localization::format("markdown.headings.level", qint64(heading.level)));
    }
    if (QListWidgetItem *item = m_list->item(current)) {
        QFont font = m_list->font();
        font.setBold(true);
        item->setFont(font);
        m_list->setCurrentItem(item);
    } else {
        m_list->setCurrentRow(0);
    }
    const int rowHeight = std::max(m_list->sizeHintForRow(0), fontMetrics().height());
    resize(popupWidth, filterField()->sizeHint().height() +
                           rowHeight * std::min<int>(visibleRows, std::max<int>(1, int(headings.size()))) +
                           24);
}

void HeadingsPopup::popUp(const QPoint &globalPosition)
{
    move(globalPosition);
    show();
    filterField()->setFocus(Qt::PopupFocusReason);
    if (m_list->currentItem())
        m_list->scrollToItem(m_list->currentItem(), QAbstractItemView::PositionAtCenter);
}

QList<int> HeadingsPopup::shownHeadings() const
{
    QList<int> shown;
    for (int row = 0; row < m_list->count(); ++row) {
        if (!m_list->item(row)->isHidden())
            shown.append(row);
    }
    return shown;
}

void HeadingsPopup::applyFilter(const QString &text)
{
    const QString wanted = text.trimmed();
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem *item = m_list->item(row);
        item->setHidden(!item->text().contains(wanted, Qt::CaseInsensitive));
    }
    if (!m_list->currentItem() || m_list->currentItem()->isHidden()) {
        const QList<int> shown = shownHeadings();
        m_list->setCurrentRow(shown.isEmpty() ? -1 : shown.constFirst());
    }
}

void HeadingsPopup::makeCurrent(const QModelIndex &index)
{
    m_list->setCurrentItem(m_list->item(index.row()));
}

void HeadingsPopup::chooseCurrent()
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item || item->isHidden())
        return;
    const int index = m_list->row(item);
    close();
    Q_EMIT headingChosen(index);
}

} // namespace kestrune
