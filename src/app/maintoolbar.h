#pragma once

#include <QToolBar>

class QMenu;
class QToolButton;

namespace kestrune {

class ThemeController;

// The window's toolbar: at its leading end the buttons going back and forward through the
// window's history, at its trailing end the button listing what is new in the project, the theme
// menu, the refresh button, the import button and the main menu button.
class MainToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit MainToolBar(ThemeController &themeController, QWidget *parent = nullptr);

    void setRefreshEnabled(bool enabled);
    void setHistoryEnabled(bool back, bool forward);

    QToolButton *backButton() const { return m_backButton; }
    QToolButton *forwardButton() const { return m_forwardButton; }
    // What's New: the files changed since last read (the window's command of that name).
    QToolButton *whatsNewButton() const { return m_whatsNewButton; }
    QToolButton *themeButton() const { return m_themeButton; }
    QMenu *themeMenu() const { return m_themeMenu; }
    QToolButton *refreshButton() const { return m_refreshButton; }
    QToolButton *importButton() const { return m_importButton; }
    // Opens the menu given to it (the window's main menu), drawn with the desktop's "open menu"
    // symbol.
    QToolButton *mainMenuButton() const { return m_mainMenuButton; }
    void setMainMenu(QMenu *menu);
    // Pops the main menu up under its button, without waiting for it to close.
    void popUpMainMenu();
    // The buttons in the order they are shown.
    QList<QToolButton *> buttons() const;

    // Fills the theme menu for the current mode (done each time it opens).
    void updateThemeMenu();

Q_SIGNALS:
    void refreshRequested();
    void importRequested();
    void backRequested();
    void whatsNewRequested();
    void forwardRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Names a button, gives it its text and style and adds it at the toolbar's end.
    void setUpButton(QToolButton *button, const char *objectName, const QString &text,
                     Qt::ToolButtonStyle style);
    void updateIcons();

    ThemeController &m_themeController;
    QToolButton *m_backButton = nullptr;
    QToolButton *m_forwardButton = nullptr;
    QToolButton *m_whatsNewButton = nullptr;
    QToolButton *m_themeButton = nullptr;
    QMenu *m_themeMenu = nullptr;
    QToolButton *m_refreshButton = nullptr;
    QToolButton *m_importButton = nullptr;
    QToolButton *m_mainMenuButton = nullptr;
};

} // namespace kestrune
