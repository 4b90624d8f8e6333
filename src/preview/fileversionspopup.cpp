#include "preview/fileversionspopup.h"

#include "preview/previewversion.h"
#include "ui/localization.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrune {

namespace {

constexpr int popupWidth = 480;
constexpr int visibleRows = 9;

QString rowText(const FileVersionsPopup::Entry &entry)
{
    const QString separator = QStringLiteral(" · ");
    QString details = entry.author + separator + entry.commit.left(PreviewVersion::shortCommitLength);
    if (!entry.renamedFrom.isEmpty())
        details += separator + Localization::format("history.file.renamed_from", entry.renamedFrom);
    return entry.day + QStringLiteral("  ") + entry.subject + u'\n' + details;
}

} // namespace

FileVersionsPopup::FileVersionsPopup(QWidget *parent) : FileVersionsPopup(new QListWidget, parent) {}

FileVersionsPopup::FileVersionsPopup(QListWidget *list, QWidget *parent)
    : FilterPopup(list, 4, parent), m_list(list), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("fileVersionsPopup"));
    filterField()->setObjectName(QStringLiteral("fileVersionsFilter"));
    filterField()->setPlaceholderText(Localization::text("history.file.filter"));
    m_list->setObjectName(QStringLiteral("fileVersionsList"));
    m_list->setAccessibleName(Localization::text("history.file.title"));
    m_status->setObjectName(QStringLiteral("fileVersionsStatus"));
    m_status->setWordWrap(true);
    m_status->setText(Localization::text("history.file.reading"));
    contentLayout()->addWidget(m_status);
    connect(filterField(), &QLineEdit::textChanged, this, &FileVersionsPopup::applyFilter);
}

void FileVersionsPopup::appendVersions(const QList<Entry> &entries)
{
    for (const Entry &entry : entries) {
        m_entries.append(entry);
        auto *item = new QListWidgetItem(rowText(entry), m_list);
        item->setToolTip(entry.commit);
        item->setHidden(!matchesFilter(m_list->count() - 1));
    }
    if (!m_list->currentItem())
        applyFilter(m_filter);
}

void FileVersionsPopup::finish(const QString &message)
{
    m_finished = true;
    if (!message.isEmpty())
        m_status->setText(message);
    else if (m_entries.isEmpty())
        m_status->setText(Localization::text("history.file.none"));
    else
        m_status->setText(Localization::format("history.file.count", qint64(m_entries.size())));
}

void FileVersionsPopup::popUp(const QPoint &globalTopRight)
{
    // Two lines a row, and the item's margins.
    const int rowHeight = 2 * fontMetrics().lineSpacing() + 6;
    resize(popupWidth,
           filterField()->sizeHint().height() + rowHeight * visibleRows + m_status->sizeHint().height() + 24);
    QPoint topLeft = globalTopRight - QPoint(width(), 0);
    if (const QScreen *screen = QGuiApplication::screenAt(globalTopRight)) {
        const QRect available = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), available.left(),
                                std::max(available.left(), available.right() - width())));
    }
    move(topLeft);
    show();
    filterField()->setFocus(Qt::PopupFocusReason);
}

bool FileVersionsPopup::matchesFilter(int row) const
{
    const QString wanted = m_filter.trimmed();
    return wanted.isEmpty() || m_list->item(row)->text().contains(wanted, Qt::CaseInsensitive) ||
           m_entries.at(row).commit.startsWith(wanted, Qt::CaseInsensitive);
}

void FileVersionsPopup::applyFilter(const QString &text)
{
    m_filter = text;
    int firstShown = -1;
    for (int row = 0; row < m_list->count(); ++row) {
        const bool shown = matchesFilter(row);
        m_list->item(row)->setHidden(!shown);
        if (shown && firstShown < 0)
            firstShown = row;
    }
    if (!m_list->currentItem() || m_list->currentItem()->isHidden())
        m_list->setCurrentRow(firstShown);
}

void FileVersionsPopup::makeCurrent(const QModelIndex &index)
{
    m_list->setCurrentItem(m_list->item(index.row()));
}

void FileVersionsPopup::chooseCurrent()
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item || item->isHidden())
        return;
    const int index = m_list->row(item);
    close();
    Q_EMIT versionChosen(index);
}

} // namespace kestrune
