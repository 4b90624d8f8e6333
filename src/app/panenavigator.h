#pragma once

#include <QList>

#include <optional>

class QWidget;

namespace kestrune {

class MainContentView;

// Moves the keyboard focus through the window in the order it is read: the project tabs, the
// toolbar's buttons, the sidebar (dashboard button, outline), then the controls of the detail
// area. Tab and Shift+Tab step through every control in that order and wrap around; F6 and
// Shift+F6 jump between the tabs, the outline and the detail area.
//
// Qt's focus chain follows the order in which widgets were made, and the tabs, the outline's
// list and the detail views are made again and again while the window lives (and the toolbar
// moves to the window); so the order is worked out anew from the panes at every step. Inside
// the detail area the controls go row by row, from the leading edge, as they are seen.
class PaneNavigator
{
public:
    enum class Pane
    {
        tabs,
        toolbar,
        sidebar,
        detail,
    };

    explicit PaneNavigator(const MainContentView &view);

    // Every control that Tab can reach now, in order.
    QList<QWidget *> focusChain() const;
    // The controls of one pane that Tab can reach now.
    QList<QWidget *> controls(Pane pane) const;
    // The pane that holds the widget (or one of its ancestors), if any.
    std::optional<Pane> paneOf(const QWidget *widget) const;

    // Tab (forward) or Shift+Tab from the focused widget; false when the focus is nowhere in
    // the chain (Qt's own order then applies).
    bool moveFocus(bool forward);
    // Gives the focus to the pane's main control: the selected tab, the outline, the document
    // of a preview or the first control of a dashboard. False when the pane has none now.
    bool focusPane(Pane pane);
    // F6: the next pane of tabs, sidebar and detail that has a control, after the one that
    // holds the focus.
    void cyclePanes(bool forward);

private:
    static void focus(QWidget *widget, bool forward);

    const MainContentView &m_view;
};

} // namespace kestrune
