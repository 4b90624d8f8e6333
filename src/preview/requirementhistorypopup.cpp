#include "preview/requirementhistorypopup.h"

#include "preview/previewcolors.h"
#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrune {

namespace {

constexpr int popupWidth = 520;
constexpr int visibleRows = 10;
constexpr int itemRole = Qt::UserRole + 1; // the index in items()

QString kindText(DeltaSpecType kind)
{
    switch (kind) {
    case DeltaSpecType::added:
        return Localization::text("review.history.added");
    case DeltaSpecType::modified:
        return Localization::text("review.history.modified");
    case DeltaSpecType::removed:
        return Localization::text("review.history.removed");
    }
    return QString();
}

} // namespace

RequirementHistoryPopup::RequirementHistoryPopup(const QString &requirement, QWidget *parent)
    : RequirementHistoryPopup(new QListWidget, requirement, parent)
{}

RequirementHistoryPopup::RequirementHistoryPopup(QListWidget *list, const QString &requirement,
                                                 QWidget *parent)
    : FilterPopup(list, 6, parent), m_list(list), m_title(new QLabel(this)), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("requirementHistoryPopup"));
    setAccessibleName(Localization::format("review.history.title", requirement));
    m_title->setObjectName(QStringLiteral("requirementHistoryTitle"));
    m_title->setText(Localization::format("review.history.title", requirement));
    m_title->setFont(SystemFont::font(13, QFont::DemiBold));
    m_title->setWordWrap(true);
    contentLayout()->insertWidget(0, m_title);
    filterField()->setObjectName(QStringLiteral("requirementHistoryFilter"));
    filterField()->setPlaceholderText(Localization::text("review.history.filter"));
    m_list->setObjectName(QStringLiteral("requirementHistoryList"));
    m_list->setUniformItemSizes(false);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_status->setObjectName(QStringLiteral("requirementHistoryStatus"));
    m_status->setWordWrap(true);
    QPalette status = m_status->palette();
    status.setColor(QPalette::WindowText, PreviewColors::secondaryText.resolve(palette()));
    m_status->setPalette(status);
    contentLayout()->addWidget(m_status);

    connect(filterField(), &QLineEdit::textChanged, this, &RequirementHistoryPopup::applyFilter);
    updateStatus();
}

QString RequirementHistoryPopup::lineText(const RequirementHistoryItem &item)
{
    QStringList parts{QLocale().toString(item.time.date(), QLocale::ShortFormat), item.commit.left(7),
                      kindText(item.kind), item.subject};
    if (!item.archivedChange.isEmpty())
        parts.append(Localization::format("review.history.change", item.archivedChange));
    return parts.join(QStringLiteral(" · "));
}

void RequirementHistoryPopup::addItems(const QList<RequirementHistoryItem> &items)
{
    const QString filter = filterField()->text().trimmed();
    for (const RequirementHistoryItem &entry : items) {
        auto *item = new QListWidgetItem(lineText(entry), m_list);
        item->setData(itemRole, int(m_items.size()));
        item->setToolTip(entry.author + QStringLiteral(" · ") + entry.commit);
        if (entry.changeFolder) {
            QFont font = m_list->font();
            font.setBold(true);
            item->setFont(font);
            item->setData(Qt::AccessibleDescriptionRole,
                          Localization::format("review.history.open_change", entry.archivedChange));
        }
        item->setHidden(!filter.isEmpty() && !item->text().contains(filter, Qt::CaseInsensitive));
        m_items.append(entry);
    }
    if (!m_list->currentItem() && m_list->count() > 0)
        m_list->setCurrentRow(0);
    updateStatus();
}

void RequirementHistoryPopup::finish(const QString &message)
{
    m_finished = true;
    m_message = message;
    updateStatus();
}

void RequirementHistoryPopup::updateStatus()
{
    QString text;
    if (!m_finished)
        text = Localization::text("review.history.reading");
    else if (m_items.isEmpty() && m_message.isEmpty())
        text = Localization::text("review.history.none");
    if (!m_message.isEmpty())
        text = m_message;
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
    m_list->setVisible(!m_items.isEmpty());
    int rows = 0;
    for (int row = 0; row < m_list->count() && rows < visibleRows; ++row)
        rows += m_list->item(row)->isHidden() ? 0 : 1;
    const int rowHeight = std::max(m_list->sizeHintForRow(0), fontMetrics().height() + 6);
    m_list->setFixedHeight(rowHeight * std::max(1, rows) + 2 * m_list->frameWidth() + 8);
    setFixedWidth(popupWidth);
    adjustSize();
}

void RequirementHistoryPopup::popUp(const QPoint &globalPosition)
{
    // Inside the screen: a History button near the right edge opens the popup leftwards.
    QPoint position = globalPosition;
    if (const QScreen *screen = QGuiApplication::screenAt(globalPosition)) {
        const QRect available = screen->availableGeometry();
        position.setX(std::max(available.left(), std::min(position.x(), available.right() - width())));
        position.setY(std::max(available.top(), std::min(position.y(), available.bottom() - height())));
    }
    move(position);
    show();
    filterField()->setFocus(Qt::PopupFocusReason);
}

void RequirementHistoryPopup::applyFilter(const QString &text)
{
    const QString wanted = text.trimmed();
    int first = -1;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem *item = m_list->item(row);
        item->setHidden(!item->text().contains(wanted, Qt::CaseInsensitive));
        if (first < 0 && !item->isHidden())
            first = row;
    }
    if (!m_list->currentItem() || m_list->currentItem()->isHidden())
        m_list->setCurrentRow(first);
}

void RequirementHistoryPopup::makeCurrent(const QModelIndex &index)
{
    m_list->setCurrentItem(m_list->item(index.row()));
}

void RequirementHistoryPopup::chooseCurrent()
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item || item->isHidden())
        return;
    const RequirementHistoryItem &entry = m_items.at(item->data(itemRole).toInt());
    if (!entry.changeFolder)
        return;
    const QUrl folder = *entry.changeFolder;
    close();
    Q_EMIT changeChosen(folder);
}

} // namespace kestrune
