#include "quickopen/quickopenpopup.h"

#include "quickopen/quickopenlistmodel.h"
#include "quickopen/quickopenrowdelegate.h"
#include "ui/filterfieldkeys.h"
#include "ui/localization.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int idealWidth = 620;
constexpr int windowMargin = 24;
constexpr int topOffset = 56;

} // namespace

QuickOpenPopup::QuickOpenPopup(QWidget *parent)
    : FilterPopup(new QListView, 6, parent), m_emptyLabel(new QLabel(this)),
      m_model(new QuickOpenListModel(this))
{
    setObjectName(QStringLiteral("quickOpenPopup"));
    setAccessibleName(Localization::text("quickopen.title"));
    filterField()->setObjectName(QStringLiteral("quickOpenField"));
    filterField()->setPlaceholderText(Localization::text("quickopen.placeholder"));
    filterField()->setAccessibleName(Localization::text("quickopen.title"));
    listView()->setObjectName(QStringLiteral("quickOpenList"));
    listView()->setModel(m_model);
    listView()->setItemDelegate(new QuickOpenRowDelegate(listView()));
    listView()->setMouseTracking(true);
    listView()->setFrameShape(QFrame::NoFrame);
    listView()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_emptyLabel->setObjectName(QStringLiteral("quickOpenEmpty"));
    m_emptyLabel->setAlignment(Qt::AlignCenter);
    m_emptyLabel->setForegroundRole(QPalette::PlaceholderText);
    m_emptyLabel->setText(Localization::text("quickopen.no_matches"));
    m_emptyLabel->hide();

    contentLayout()->addWidget(m_emptyLabel, 1);

    connect(filterField(), &QLineEdit::textChanged, this, [this] { refilter(QString()); });
}

QuickOpenPopup::~QuickOpenPopup() = default;

void QuickOpenPopup::setEntries(QList<QuickOpenEntry> entries)
{
    const QuickOpenEntry *current = currentEntry();
    const QString keep = current ? current->key() : QString();
    m_ranker.setEntries(std::move(entries));
    refilter(keep);
}

void QuickOpenPopup::setShowsProjectNames(bool show)
{
    m_model->setShowsProjectNames(show);
}

const QuickOpenEntry *QuickOpenPopup::currentEntry() const
{
    const QModelIndex index = listView()->currentIndex();
    return index.isValid() ? &m_model->entryAt(index.row()) : nullptr;
}

void QuickOpenPopup::refilter(const QString &keepKey)
{
    const QString query = filterField()->text();
    const QList<QuickOpenRanker::Result> ranked = m_ranker.rank(query, rowLimit);
    const int topRow = listView()->indexAt(QPoint(0, 0)).row();
    m_model->setRows(m_ranker.entries(), ranked, QuickOpenRanker::matchedPart(query));
    const int kept = keepKey.isEmpty() ? -1 : m_model->rowOfKey(keepKey);
    const int row = kept >= 0 ? kept : (ranked.isEmpty() ? -1 : 0);
    if (row >= 0) {
        // The list stays where it was when the chosen row is still there.
        if (kept >= 0 && topRow >= 0 && topRow < m_model->rowCount())
            listView()->scrollTo(m_model->index(topRow), QAbstractItemView::PositionAtTop);
        listView()->setCurrentIndex(m_model->index(row));
    }
    const bool empty = ranked.isEmpty();
    listView()->setVisible(!empty);
    m_emptyLabel->setVisible(empty);
    m_emptyLabel->setText(Localization::text(
        QuickOpenRanker::isRequirementQuery(query) ? "quickopen.no_requirements" : "quickopen.no_matches"));
}

void QuickOpenPopup::popUp(QWidget *window)
{
    const QRect area = window->geometry();
    const int width = std::min(idealWidth, std::max(200, area.width() - 2 * windowMargin));
    const int height =
        filterField()->sizeHint().height() + QuickOpenRowDelegate::rowHeight() * visibleRows + 24;
    resize(width, std::min(height, std::max(160, area.height() - topOffset - windowMargin)));
    const QPoint topLeft = window->mapToGlobal(QPoint((window->width() - width) / 2, topOffset));
    move(topLeft);
    show();
    filterField()->setFocus(Qt::PopupFocusReason);
}

void QuickOpenPopup::chooseCurrent()
{
    const QuickOpenEntry *entry = currentEntry();
    if (!entry)
        return;
    const QuickOpenEntry chosen = *entry;
    close();
    Q_EMIT entryChosen(chosen);
}

} // namespace kestrune
