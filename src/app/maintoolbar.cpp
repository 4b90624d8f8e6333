#include "app/maintoolbar.h"

#include "app/shellcolors.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"
#include "ui/themecontroller.h"
#include "ui/themedsymbolicon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>

namespace kestrune {

namespace {

constexpr int symbolSize = 16;
constexpr int itemSpacing = 8;

} // namespace

MainToolBar::MainToolBar(ThemeController &themeController, QWidget *parent)
    : QToolBar(parent), m_themeController(themeController), m_backButton(new QToolButton),
      m_forwardButton(new QToolButton), m_themeButton(new QToolButton), m_themeMenu(new QMenu(this)),
      m_refreshButton(new QToolButton), m_importButton(new QToolButton), m_mainMenuButton(new QToolButton)
{
    setObjectName(QStringLiteral("mainToolBar"));
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setIconSize(QSize(symbolSize, symbolSize));
    setAutoFillBackground(false);
    layout()->setSpacing(itemSpacing);
    layout()->setContentsMargins(8, 6, 10, 6);

    const std::pair<QToolButton *, const char *> steps[] = {{m_backButton, "action.back"},
                                                            {m_forwardButton, "action.forward"}};
    for (const auto &[button, key] : steps) {
        button->setObjectName(button == m_backButton ? QStringLiteral("backButton")
                                                     : QStringLiteral("forwardButton"));
        button->setText(Localization::text(key));
        button->setToolTip(Localization::text(key));
        button->setAccessibleName(Localization::text(key));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
        button->setEnabled(false);
        addWidget(button);
    }

    auto *spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);

    m_themeButton->setObjectName(QStringLiteral("themeMenuButton"));
    m_themeButton->setText(Localization::text("theme.menu"));
    m_themeButton->setToolTip(Localization::text("theme.help"));
    m_themeButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_themeButton->setPopupMode(QToolButton::InstantPopup);
    m_themeButton->setAutoRaise(true);
    m_themeButton->setMenu(m_themeMenu);
    addWidget(m_themeButton);

    m_refreshButton->setObjectName(QStringLiteral("refreshButton"));
    m_refreshButton->setText(Localization::text("toolbar.refresh"));
    m_refreshButton->setToolTip(Localization::text("toolbar.refresh.help"));
    m_refreshButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_refreshButton->setAutoRaise(true);
    addWidget(m_refreshButton);

    m_importButton->setObjectName(QStringLiteral("importButton"));
    m_importButton->setText(Localization::text("toolbar.import_project"));
    m_importButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_importButton->setAutoRaise(true);
    addWidget(m_importButton);

    m_mainMenuButton->setObjectName(QStringLiteral("mainMenuButton"));
    m_mainMenuButton->setText(Localization::text("action.main_menu"));
    m_mainMenuButton->setToolTip(Localization::text("action.main_menu"));
    m_mainMenuButton->setAccessibleName(Localization::text("action.main_menu"));
    m_mainMenuButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_mainMenuButton->setPopupMode(QToolButton::InstantPopup);
    m_mainMenuButton->setAutoRaise(true);
    addWidget(m_mainMenuButton);

    connect(m_themeMenu, &QMenu::aboutToShow, this, &MainToolBar::updateThemeMenu);
    connect(m_refreshButton, &QToolButton::clicked, this, &MainToolBar::refreshRequested);
    connect(m_importButton, &QToolButton::clicked, this, &MainToolBar::importRequested);
    connect(m_backButton, &QToolButton::clicked, this, &MainToolBar::backRequested);
    connect(m_forwardButton, &QToolButton::clicked, this, &MainToolBar::forwardRequested);
    connect(&m_themeController, &ThemeController::modeChanged, this, &MainToolBar::updateIcons);

    updateThemeMenu();
    updateIcons();
}

void MainToolBar::setRefreshEnabled(bool enabled)
{
    m_refreshButton->setEnabled(enabled);
}

void MainToolBar::setHistoryEnabled(bool back, bool forward)
{
    m_backButton->setEnabled(back);
    m_forwardButton->setEnabled(forward);
}

void MainToolBar::setMainMenu(QMenu *menu)
{
    m_mainMenuButton->setMenu(menu);
}

void MainToolBar::popUpMainMenu()
{
    QMenu *menu = m_mainMenuButton->menu();
    if (!menu || !m_mainMenuButton->isVisible())
        return;
    // Under the button, its trailing edge on the button's.
    const QPoint below =
        m_mainMenuButton->mapToGlobal(QPoint(m_mainMenuButton->width(), m_mainMenuButton->height()));
    menu->popup(below - QPoint(menu->sizeHint().width(), 0));
    menu->setActiveAction(menu->actions().value(0));
}

QList<QToolButton *> MainToolBar::buttons() const
{
    return {m_backButton, m_forwardButton, m_themeButton, m_refreshButton, m_importButton, m_mainMenuButton};
}

void MainToolBar::updateThemeMenu()
{
    m_themeMenu->clear();
    const QColor color = ShellColors::strongText.resolve(palette());
    for (ThemeMode mode : allThemeModes()) {
        QAction *action = m_themeMenu->addAction(displayName(mode));
        action->setData(rawValue(mode));
        if (mode == m_themeController.mode())
            action->setIcon(SymbolIcon::icon(u"checkmark", color, symbolSize));
        connect(action, &QAction::triggered, this, [this, mode] { m_themeController.setMode(mode); });
    }
}

void MainToolBar::paintEvent(QPaintEvent *)
{
    // Transparent: the window's background shows through.
}

void MainToolBar::changeEvent(QEvent *event)
{
    QToolBar::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateIcons();
}

void MainToolBar::updateIcons()
{
    const QColor color = ShellColors::strongText.withOpacity(0.85f).resolve(palette());
    m_themeButton->setIcon(SymbolIcon::icon(symbolName(m_themeController.mode()), color, symbolSize));
    m_refreshButton->setIcon(SymbolIcon::icon(u"arrow.clockwise", color, symbolSize));
    m_backButton->setIcon(SymbolIcon::icon(u"chevron.left", color, symbolSize));
    m_forwardButton->setIcon(SymbolIcon::icon(u"chevron.right", color, symbolSize));
    m_mainMenuButton->setIcon(ThemedSymbolIcon::icon(QStringLiteral("open-menu-symbolic"),
                                                     u"line.3.horizontal", color, symbolSize));
}

} // namespace kestrune
