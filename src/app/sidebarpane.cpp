#include "app/sidebarpane.h"

#include "app/dashboardbutton.h"
#include "app/shellcolors.h"
#include "sidebar/projecttreeview.h"
#include "ui/separatorline.h"

#include <QPainter>
#include <QVBoxLayout>

namespace kestrune {

SidebarPane::SidebarPane(ThemeController &themeController, QWidget *parent)
    : QWidget(parent), m_dashboardButton(new DashboardButton(this)),
      m_treeView(new ProjectTreeView(themeController, this))
{
    setObjectName(QStringLiteral("sidebar"));
    setMinimumWidth(minimumWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_dashboardButton);
    layout->addWidget(new SeparatorLine(Qt::Horizontal, ShellColors::sidebarSeparator, this));
    layout->addWidget(m_treeView, 1);
}

void SidebarPane::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), ShellColors::sidebarBackground.resolve(palette()));
}

} // namespace kestrune
