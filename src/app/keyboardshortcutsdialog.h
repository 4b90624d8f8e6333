#pragma once

#include <QDialog>

class QTreeWidget;

namespace kestrune {

class MainWindowActions;

// The "Keyboard Shortcuts" window: every key of the main window in two columns, what it does and
// the keys, grouped by area. The rows are the commands of MainWindowActions that have keys,
// followed by the key hints of each group (keys the views handle themselves); the list is built
// again when a command is added and each time the window is shown, so it never goes stale.
// It is not modal: it can stay open beside the window.
class KeyboardShortcutsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit KeyboardShortcutsDialog(const MainWindowActions &actions, QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }
    // The keys of an action as listed: each sequence in the desktop's notation, the Backtab
    // spelling of Shift+Tab left out.
    static QString keysText(const QList<QKeySequence> &keys);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void rebuild();

    const MainWindowActions &m_actions;
    QTreeWidget *m_list = nullptr;
};

} // namespace kestrune
