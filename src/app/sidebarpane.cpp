#include "app/sidebarpane.h"

#include "app/dashboardbutton.h"
#include "app/shellcolors.h"
#include "sidebar/projectsearchcontroller.h"
#include "sidebar/projectsearchfield.h"
#include "sidebar/projecttreeview.h"
#include "sidebar/searchresultsmodel.h"
#include "sidebar/searchresultsview.h"
#include "ui/bandedfill.h"
#include "ui/separatorline.h"

#include <QPainter>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace kestrune {

SidebarPane::SidebarPane(ThemeController &themeController, ProjectStore &store, ProjectTextIndex &index,
                         QWidget *parent)
    : QWidget(parent), m_searchModel(std::make_unique<SearchResultsModel>()),
      m_searchField(new ProjectSearchField(this)), m_dashboardButton(new DashboardButton(this)),
      m_treeView(new ProjectTreeView(themeController, this)),
      m_searchResults(new SearchResultsView(*m_searchModel, this)),
      m_search(
          new ProjectSearchController(store, index, *m_searchField, *m_searchResults, *m_searchModel, this))
{
    setObjectName(QStringLiteral("sidebar"));
    setMinimumWidth(minimumWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_searchField);
    layout->addWidget(m_dashboardButton);
    layout->addWidget(new SeparatorLine(Qt::Horizontal, ShellColors::sidebarSeparator, this));
    auto *stack = new QStackedLayout;
    stack->addWidget(m_treeView);
    stack->addWidget(m_searchResults);
    layout->addLayout(stack, 1);
    connect(m_search, &ProjectSearchController::activeChanged, this, [stack, this](bool active) {
        stack->setCurrentWidget(active ? static_cast<QWidget *>(m_searchResults) : m_treeView);
    });
}

SidebarPane::~SidebarPane()
{
    // The views go before the model they show.
    delete m_searchResults;
    m_searchResults = nullptr;
}

void SidebarPane::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    BandedFill::fillRect(painter, rect(), ShellColors::sidebarBackground.resolve(palette()));
}

} // namespace kestrune
