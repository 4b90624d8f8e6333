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
      m_forwardButton(new QToolButton), m_whatsNewButton(new QToolButton), m_themeButton(new QToolButton),
      m_themeMenu(new QMenu(this)), m_refreshButton(new QToolButton), m_importButton(new QToolButton),
      m_mainMenuButton(new QToolButton)
{
    setObjectName(QStringLiteral("mainToolBar"));
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setIconSize(QSize(symbolSize, symbolSize));
    setAutoFillBackground(false);
    layout()->setSpacing(itemSpacing);
    layout()->setContentsMargins(8, 6, 10, 6);

    for (QToolButton *step : {m_backButton, m_forwardButton}) {
        const char *key = step == m_backButton ? "action.back" : "action.forward";
        setUpButton(step, step == m_backButton ? "backButton" : "forwardButton", Localization::text(key),
                    Qt::ToolButtonIconOnly);
        step->setToolTip(Localization::text(key));
        step->setAccessibleName(Localization::text(key));
        step->setEnabled(false);
    }

    auto *spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);

    setUpButton(m_whatsNewButton, "whatsNewButton", Localization::text("catchup.action"),
                Qt::ToolButtonIconOnly);
    m_whatsNewButton->setToolTip(Localization::text("catchup.action"));
    m_whatsNewButton->setAccessibleName(Localization::text("catchup.action"));

    setUpButton(m_themeButton, "themeMenuButton", Localization::text("theme.menu"), Qt::ToolButtonIconOnly);
    m_themeButton->setToolTip(Localization::text("theme.help"));
    m_themeButton->setPopupMode(QToolButton::InstantPopup);
    m_themeButton->setMenu(m_themeMenu);

    setUpButton(m_refreshButton, "refreshButton", Localization::text("toolbar.refresh"),
                Qt::ToolButtonIconOnly);
    m_refreshButton->setToolTip(Localization::text("toolbar.refresh.help"));

    setUpButton(m_importButton, "importButton", Localization::text("toolbar.import_project"),
                Qt::ToolButtonTextOnly);

    setUpButton(m_mainMenuButton, "mainMenuButton", Localization::text("action.main_menu"),
                Qt::ToolButtonIconOnly);
    m_mainMenuButton->setToolTip(Localization::text("action.main_menu"));
    m_mainMenuButton->setAccessibleName(Localization::text("action.main_menu"));
    m_mainMenuButton->setPopupMode(QToolButton::InstantPopup);

    connect(m_themeMenu, &QMenu::aboutToShow, this, &MainToolBar::updateThemeMenu);
    connect(m_refreshButton, &QToolButton::clicked, this, &MainToolBar::refreshRequested);
    connect(m_importButton, &QToolButton::clicked, this, &MainToolBar::importRequested);
    connect(m_backButton, &QToolButton::clicked, this, &MainToolBar::backRequested);
    connect(m_forwardButton, &QToolButton::clicked, this, &MainToolBar::forwardRequested);
    connect(m_whatsNewButton, &QToolButton::clicked, this, &MainToolBar::whatsNewRequested);
    connect(&m_themeController, &ThemeController::modeChanged, this, &MainToolBar::updateIcons);

    updateThemeMenu();
    updateIcons();
}

void MainToolBar::setUpButton(QToolButton *button, const char *objectName, const QString &text,
                              Qt::ToolButtonStyle style)
{
    button->setObjectName(QLatin1String(objectName));
    button->setText(text);
    button->setToolButtonStyle(style);
    button->setAutoRaise(true);
    addWidget(button);
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
    return {m_backButton,    m_forwardButton, m_whatsNewButton, m_themeButton,
            m_refreshButton, m_importButton,  m_mainMenuButton};
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
    m_whatsNewButton->setIcon(SymbolIcon::icon(u"clock", color, symbolSize));
    m_backButton->setIcon(SymbolIcon::icon(u"chevron.left", color, symbolSize));
    m_forwardButton->setIcon(SymbolIcon::icon(u"chevron.right", color, symbolSize));
    m_mainMenuButton->setIcon(ThemedSymbolIcon::icon(QStringLiteral("open-menu-symbolic"),
                                                     u"line.3.horizontal", color, symbolSize));
}

} // namespace kestrune
