#pragma once

#include <QMainWindow>

namespace kestrune {

class MainContentView;
class ThemeController;

// The program's one window: the root view as its central widget, the root view's toolbar at
// the top, the window background behind them. Ctrl+Q (the platform's quit key) ends the program.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr QSize contentSize{1200, 1000};
    static constexpr QSize minimumContentSize{600, 400};

    explicit MainWindow(ThemeController &themeController, QWidget *parent = nullptr);

    MainContentView *contentView() const { return m_contentView; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    MainContentView *m_contentView = nullptr;
};

} // namespace kestrune
