#include "quickopen/quickopenpopup.h"

#include "quickopen/quickopenlistmodel.h"
#include "quickopen/quickopenrowdelegate.h"
#include "ui/filterfieldkeys.h"
#include "ui/localization.h"

#include <QKeyEvent>
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
    : QFrame(parent, Qt::Popup), m_field(new QLineEdit(this)), m_list(new QListView(this)),
      m_emptyLabel(new QLabel(this)), m_model(new QuickOpenListModel(this))
{
    setObjectName(QStringLiteral("quickOpenPopup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(Localization::text("quickopen.title"));
    m_field->setObjectName(QStringLiteral("quickOpenField"));
    m_field->setPlaceholderText(Localization::text("quickopen.placeholder"));
    m_field->setAccessibleName(Localization::text("quickopen.title"));
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    m_list->setObjectName(QStringLiteral("quickOpenList"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new QuickOpenRowDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setMouseTracking(true);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setFocusPolicy(Qt::NoFocus); // the keys go to the field, which passes them on
    m_emptyLabel->setObjectName(QStringLiteral("quickOpenEmpty"));
    m_emptyLabel->setAlignment(Qt::AlignCenter);
    m_emptyLabel->setForegroundRole(QPalette::PlaceholderText);
    m_emptyLabel->setText(Localization::text("quickopen.no_matches"));
    m_emptyLabel->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(m_field);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_emptyLabel, 1);

    connect(m_field, &QLineEdit::textChanged, this, [this] { refilter(QString()); });
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex &index) {
        m_list->setCurrentIndex(index);
        chooseCurrent();
    });
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
    const QModelIndex index = m_list->currentIndex();
    return index.isValid() ? &m_model->entryAt(index.row()) : nullptr;
}

void QuickOpenPopup::refilter(const QString &keepKey)
{
    const QString query = m_field->text();
    const QList<QuickOpenRanker::Result> ranked = m_ranker.rank(query, rowLimit);
    const int topRow = m_list->indexAt(QPoint(0, 0)).row();
    m_model->setRows(m_ranker.entries(), ranked, QuickOpenRanker::matchedPart(query));
    const int kept = keepKey.isEmpty() ? -1 : m_model->rowOfKey(keepKey);
    const int row = kept >= 0 ? kept : (ranked.isEmpty() ? -1 : 0);
    if (row >= 0) {
        // The list stays where it was when the chosen row is still there.
        if (kept >= 0 && topRow >= 0 && topRow < m_model->rowCount())
            m_list->scrollTo(m_model->index(topRow), QAbstractItemView::PositionAtTop);
        m_list->setCurrentIndex(m_model->index(row));
    }
    const bool empty = ranked.isEmpty();
    m_list->setVisible(!empty);
    m_emptyLabel->setVisible(empty);
    m_emptyLabel->setText(Localization::text(
        QuickOpenRanker::isRequirementQuery(query) ? "quickopen.no_requirements" : "quickopen.no_matches"));
}

void QuickOpenPopup::popUp(QWidget *window)
{
    const QRect area = window->geometry();
    const int width = std::min(idealWidth, std::max(200, area.width() - 2 * windowMargin));
    const int height = m_field->sizeHint().height() + QuickOpenRowDelegate::rowHeight() * visibleRows + 24;
    resize(width, std::min(height, std::max(160, area.height() - topOffset - windowMargin)));
    const QPoint topLeft = window->mapToGlobal(QPoint((window->width() - width) / 2, topOffset));
    move(topLeft);
    show();
    m_field->setFocus(Qt::PopupFocusReason);
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

bool QuickOpenPopup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress &&
        FilterFieldKeys::handle(
            static_cast<QKeyEvent *>(event), m_list, [this] { chooseCurrent(); }, [this] { close(); }))
        return true;
    return QFrame::eventFilter(watched, event);
}

void QuickOpenPopup::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace kestrune
