#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <optional>

class QAction;
class QWidget;

namespace kestrune {

class CatchUpCounter;
class CatchUpPopup;
struct CatchUpEntry;
class MainContentView;

// "What's New" for the window: the command (its key and its place in the main menu and the
// toolbar), and the catch-up list of the current project it pops up (CatchUpPopup), built from
// the project's outline and reading marks (CatchUpList) and its lines counted off the window's
// thread (CatchUpCounter). While the list is open it follows the project's marks, so a file
// read elsewhere, edited on disk or every file marked as read updates it. Choosing a file opens
// it as a link does (MainContentView::openLocation), at its first change.
class WhatsNewController : public QObject
{
    Q_OBJECT

public:
    WhatsNewController(MainContentView &view, QWidget *window);
    ~WhatsNewController() override;

    // The command; the window lists it and puts it on the toolbar.
    QAction *action() const { return m_action; }
    // Shows the list of the current project over the window (or updates the one open).
    void show();
    // The list while it is open.
    CatchUpPopup *popup() const;
    CatchUpCounter &counter() const { return *m_counter; }

private:
    void update();
    void choose(const CatchUpEntry &entry);
    void updateEnabled();

    MainContentView &m_view;
    QWidget *m_window;
    QAction *m_action = nullptr;
    CatchUpCounter *m_counter = nullptr;
    QPointer<CatchUpPopup> m_popup;
    std::optional<QUrl> m_root; // the project the list shows
};

} // namespace kestrune
