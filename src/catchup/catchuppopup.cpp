#include "catchup/catchuppopup.h"

#include "catchup/catchuplistmodel.h"
#include "catchup/catchuprowdelegate.h"
#include "reading/catchuplist.h"
#include "ui/localization.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace kestrune {

namespace {

constexpr int idealWidth = 620;
constexpr int windowMargin = 24;
constexpr int topOffset = 56;

} // namespace

CatchUpPopup::CatchUpPopup(QWidget *parent)
    : FilterPopup(new QListView, 6, parent), m_title(new QLabel(this)), m_emptyLabel(new QLabel(this)),
      m_summary(new QLabel(this)), m_markAll(new QPushButton(this)), m_model(new CatchUpListModel(this))
{
    setObjectName(QStringLiteral("catchUpPopup"));
    setAccessibleName(Localization::text("catchup.action"));
    m_title->setObjectName(QStringLiteral("catchUpTitle"));
    QFont titleFont = m_title->font();
    titleFont.setWeight(QFont::DemiBold);
    m_title->setFont(titleFont);
    m_title->setText(Localization::text("catchup.action"));
    contentLayout()->insertWidget(0, m_title);

    filterField()->setObjectName(QStringLiteral("catchUpField"));
    filterField()->setPlaceholderText(Localization::text("catchup.placeholder"));
    filterField()->setAccessibleName(Localization::text("catchup.placeholder"));
    listView()->setObjectName(QStringLiteral("catchUpList"));
    listView()->setAccessibleName(Localization::text("catchup.action"));
    listView()->setUniformItemSizes(false); // headings are lower than files
    listView()->setModel(m_model);
    listView()->setItemDelegate(new CatchUpRowDelegate(listView()));
    listView()->setMouseTracking(true);
    listView()->setFrameShape(QFrame::NoFrame);
    listView()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_emptyLabel->setObjectName(QStringLiteral("catchUpEmpty"));
    m_emptyLabel->setAlignment(Qt::AlignCenter);
    m_emptyLabel->setWordWrap(true);
    m_emptyLabel->setForegroundRole(QPalette::PlaceholderText);
    m_emptyLabel->hide();
    contentLayout()->addWidget(m_emptyLabel, 1);

    auto *footer = new QHBoxLayout;
    m_summary->setObjectName(QStringLiteral("catchUpSummary"));
    m_summary->setForegroundRole(QPalette::PlaceholderText);
    m_markAll->setObjectName(QStringLiteral("catchUpMarkAll"));
    m_markAll->setText(Localization::text("reading.action.mark_all_read"));
    m_markAll->setAccessibleName(Localization::text("reading.action.mark_all_read"));
    m_markAll->setAutoDefault(false);
    footer->addWidget(m_summary, 1);
    footer->addWidget(m_markAll);
    contentLayout()->addLayout(footer);

    connect(filterField(), &QLineEdit::textChanged, this, [this](const QString &text) {
        const CatchUpEntry *current = currentEntry();
        const QString keep = current ? current->relativePath : QString();
        m_model->setFilter(text);
        refilter(keep);
    });
    connect(m_markAll, &QPushButton::clicked, this, [this] {
        Q_EMIT markAllAsReadRequested();
        filterField()->setFocus(Qt::OtherFocusReason);
    });
    refilter(QString());
}

CatchUpPopup::~CatchUpPopup() = default;

void CatchUpPopup::setProjectName(const QString &name)
{
    m_title->setText(name.isEmpty() ? Localization::text("catchup.action")
                                    : Localization::format("catchup.title.project", name));
    setAccessibleName(m_title->text());
}

void CatchUpPopup::setGroups(QList<CatchUpGroup> groups)
{
    const CatchUpEntry *current = currentEntry();
    const QString keep = current ? current->relativePath : QString();
    m_model->setGroups(std::move(groups));
    refilter(keep);
}

void CatchUpPopup::setLineCount(const QString &relativePath, const CatchUpLineCount &count)
{
    m_model->setLineCount(relativePath, count);
}

const CatchUpEntry *CatchUpPopup::currentEntry() const
{
    const QModelIndex index = listView()->currentIndex();
    return index.isValid() ? m_model->entryAt(index.row()) : nullptr;
}

void CatchUpPopup::refilter(const QString &keepPath)
{
    const int kept = keepPath.isEmpty() ? -1 : m_model->rowOf(keepPath);
    const int row = kept >= 0 ? kept : m_model->firstEntryRow();
    if (row >= 0) {
        listView()->setCurrentIndex(m_model->index(row));
        // The heading of the first file shows above it.
        listView()->scrollTo(m_model->index(row == m_model->firstEntryRow() ? 0 : row));
    }
    const qsizetype files = CatchUpList::entryCount(m_model->groups());
    const bool empty = m_model->rowCount() == 0;
    listView()->setVisible(!empty);
    m_emptyLabel->setVisible(empty);
    m_emptyLabel->setText(Localization::text(files == 0 ? "catchup.empty" : "catchup.no_matches"));
    m_markAll->setEnabled(files > 0);
    m_summary->setText(files == 0 ? QString() : Localization::format("catchup.summary", files));
    if (isVisible())
        fitHeight();
}

void CatchUpPopup::fitHeight()
{
    // As high as its rows, up to `visibleRows` files; the empty state takes a few rows' room.
    int rows = 0;
    for (int row = 0; row < m_model->rowCount(); ++row)
        rows +=
            m_model->isHeading(row) ? CatchUpRowDelegate::headingHeight() : CatchUpRowDelegate::rowHeight();
    const int list = std::clamp(rows + 8, 3 * CatchUpRowDelegate::rowHeight(),
                                visibleRows * CatchUpRowDelegate::rowHeight());
    const int height = m_title->sizeHint().height() + filterField()->sizeHint().height() + list +
                       m_markAll->sizeHint().height() + 4 * contentLayout()->spacing() +
                       contentLayout()->contentsMargins().top() + contentLayout()->contentsMargins().bottom();
    resize(width(), std::min(height, m_heightLimit));
}

void CatchUpPopup::popUp(QWidget *window)
{
    const QRect area = window->geometry();
    const int width = std::min(idealWidth, std::max(240, area.width() - 2 * windowMargin));
    m_heightLimit = std::max(200, area.height() - topOffset - windowMargin);
    resize(width, height());
    fitHeight();
    move(window->mapToGlobal(QPoint((window->width() - width) / 2, topOffset)));
    show();
    filterField()->setFocus(Qt::PopupFocusReason);
}

void CatchUpPopup::makeCurrent(const QModelIndex &index)
{
    // A click on a heading chooses nothing.
    m_headingClicked = !index.isValid() || !m_model->entryAt(index.row());
    if (!m_headingClicked)
        FilterPopup::makeCurrent(index);
}

void CatchUpPopup::chooseCurrent()
{
    const CatchUpEntry *entry = std::exchange(m_headingClicked, false) ? nullptr : currentEntry();
    if (!entry || entry->change == CatchUpEntry::Change::removed)
        return; // a removed file has nothing to open
    const CatchUpEntry chosen = *entry;
    close();
    Q_EMIT entryChosen(chosen);
}

} // namespace kestrune
