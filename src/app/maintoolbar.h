#pragma once

#include <QToolBar>

class QMenu;
class QToolButton;

namespace kestrune {

class ThemeController;

// The window's toolbar, at its trailing end: the theme menu, the refresh button and the import
// button.
class MainToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit MainToolBar(ThemeController &themeController, QWidget *parent = nullptr);

    void setRefreshEnabled(bool enabled);

    QToolButton *themeButton() const { return m_themeButton; }
    QMenu *themeMenu() const { return m_themeMenu; }
    QToolButton *refreshButton() const { return m_refreshButton; }
    QToolButton *importButton() const { return m_importButton; }

    // Fills the theme menu for the current mode (done each time it opens).
    void updateThemeMenu();

Q_SIGNALS:
    void refreshRequested();
    void importRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateIcons();

    ThemeController &m_themeController;
    QToolButton *m_themeButton = nullptr;
    QMenu *m_themeMenu = nullptr;
    QToolButton *m_refreshButton = nullptr;
    QToolButton *m_importButton = nullptr;
};

} // namespace kestrune
