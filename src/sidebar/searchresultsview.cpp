#include "sidebar/searchresultsview.h"

#include "sidebar/outlinelistview.h"
#include "sidebar/searchresultdelegate.h"
#include "sidebar/searchresultsmodel.h"
#include "sidebar/sidebarcolors.h"
#include "ui/localization.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrune {

namespace {

// Files are shown open while the hit rows shown stay below this; the rest start closed, so a word
// found everywhere does not lay out hundreds of thousands of rows.
constexpr int expandedHitBudget = 2000;

QToolButton *makeScopeToggle(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(text);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

SearchResultsView::SearchResultsView(SearchResultsModel &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_status(new QLabel(this)),
      m_allProjects(makeScopeToggle(QStringLiteral("searchAllProjects"),
                                    Localization::text("search.all_projects"), this)),
      m_hideArchived(makeScopeToggle(QStringLiteral("searchHideArchived"),
                                     Localization::text("search.hide_archived"), this)),
      m_list(new OutlineListView(this))
{
    setObjectName(QStringLiteral("searchResults"));
    m_status->setObjectName(QStringLiteral("searchStatus"));
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    m_list->setObjectName(QStringLiteral("searchResultsList"));
    m_list->setAccessibleName(Localization::text("search.results_accessible_name"));
    m_list->setModel(&m_model);
    m_list->setItemDelegate(new SearchResultDelegate(m_list));
    m_list->setIndentation(12);

    auto *toggles = new QHBoxLayout;
    toggles->setContentsMargins(0, 0, 0, 0);
    toggles->setSpacing(4);
    toggles->addWidget(m_allProjects);
    toggles->addWidget(m_hideArchived);
    toggles->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto *header = new QVBoxLayout;
    header->setContentsMargins(10, 2, 8, 2);
    header->setSpacing(2);
    header->addWidget(m_status);
    header->addLayout(toggles);
    layout->addLayout(header);
    layout->addWidget(m_list, 1);

    connect(m_allProjects, &QToolButton::toggled, this, &SearchResultsView::scopeChanged);
    connect(m_hideArchived, &QToolButton::toggled, this, &SearchResultsView::scopeChanged);
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_expandedHitRows = 0;
        expandWithinBudget(QModelIndex(), 0, m_model.rowCount() - 1);
    });
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &SearchResultsView::expandWithinBudget);
    connect(m_list, &OutlineListView::rowActivated, this, &SearchResultsView::hitChosen);
    connect(m_list, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (m_model.isFileRow(index))
            m_list->setExpanded(index, !m_list->isExpanded(index));
        else
            Q_EMIT hitChosen(index);
    });
    applyColors();
}

bool SearchResultsView::searchesAllProjects() const
{
    return m_allProjects->isChecked();
}

bool SearchResultsView::hidesArchived() const
{
    return m_hideArchived->isChecked();
}

void SearchResultsView::setStatus(const QString &text, bool isError)
{
    m_status->setText(text);
    m_status->setAccessibleName(text);
    if (m_statusIsError != isError) {
        m_statusIsError = isError;
        applyColors();
    }
}

QString SearchResultsView::statusText() const
{
    return m_status->text();
}

void SearchResultsView::focusResults()
{
    // The list would make its first row, a file, current on taking the focus; the reader wants a hit.
    const bool onHit = m_model.hitAt(m_list->currentIndex()).has_value();
    m_list->setFocus(Qt::OtherFocusReason);
    if (onHit || m_model.rowCount() == 0)
        return;
    const QModelIndex first = m_model.index(0, 0, m_model.index(0, 0));
    m_list->setExpanded(m_model.index(0, 0), true);
    m_list->selectionModel()->setCurrentIndex(first.isValid() ? first : m_model.index(0, 0),
                                              QItemSelectionModel::ClearAndSelect);
}

void SearchResultsView::expandWithinBudget(const QModelIndex &parent, int first, int last)
{
    if (parent.isValid())
        return;
    for (int row = first; row <= last && m_expandedHitRows < expandedHitBudget; ++row) {
        const QModelIndex file = m_model.index(row, 0);
        m_expandedHitRows += m_model.rowCount(file);
        m_list->setExpanded(file, true);
    }
}

void SearchResultsView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void SearchResultsView::applyColors()
{
    QPalette statusPalette = m_status->palette();
    statusPalette.setColor(
        QPalette::WindowText,
        (m_statusIsError ? SidebarColors::errorText : SidebarColors::secondaryText).resolve(palette()));
    m_status->setPalette(statusPalette);
    QPalette togglePalette = palette();
    togglePalette.setColor(QPalette::ButtonText, SidebarColors::secondaryText.resolve(palette()));
    m_allProjects->setPalette(togglePalette);
    m_hideArchived->setPalette(togglePalette);
}

} // namespace kestrune
