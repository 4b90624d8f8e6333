#pragma once

#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/nodes/layoutnode_p.h"

#include <QPointF>
#include <QString>
#include <QUrl>

#include <optional>

class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace kestrune {

class CodeBlockCopyButton;
class LayoutDocument;
class LayoutScrollNode;
class MarkdownView;

// What a reader does with a MarkdownView's text, apart from scrolling it: selecting it with
// the mouse (a drag, a double-click for words, Shift and a click to extend), copying it from
// the keyboard, the context menu or the code block copy button, scrolling code wider than the
// page sideways (dragging its scroll indicator, or the wheel), and clicking links. The view
// paints and scrolls the page and passes its input events here; what this does not handle,
// the view does.
//
// The selection, the caret assistive technology reads, and the state of a press and drag live
// here; they are forgotten whenever the view's page is built anew.
class MarkdownTextControl
{
public:
    explicit MarkdownTextControl(MarkdownView &view);
    ~MarkdownTextControl();

    bool isSelectionEnabled() const { return m_selectionEnabled; }
    void setSelectionEnabled(bool enabled);
    const LayoutSelection &selection() const { return m_selection; }
    // Selects a range (assistive technology does); nothing while selection is disabled.
    void setSelection(const LayoutSelection &selection);
    bool hasSelection() const { return !m_selection.isEmpty(); }
    QString selectedText() const;
    void selectAll();
    void clearSelection();
    // Puts the selection on the clipboard as "text/plain" and "text/markdown".
    void copy() const;
    // Where assistive technology last placed the caret or a click did.
    LayoutDocument::TextPosition caret() const { return m_caret; }
    void setCaret(LayoutDocument::TextPosition caret) { m_caret = caret; }

    // The view shows another text: selection, caret and press are gone.
    void forgetText();
    // The view's page is built anew for other settings: selection and caret are gone.
    void forgetLayout();
    // The same for an appearance switch, which keeps the caret; the view repaints.
    void forgetSelection() { m_selection = {}; }
    // A scroll indicator being dragged is gone with the page's nodes.
    void forgetDraggedScroll() { m_draggedScroll = nullptr; }
    // While a scroll indicator is dragged, its block keeps its nodes.
    bool isDraggingScroll() const { return m_draggedScroll != nullptr; }

    // The view's input events. Those returning false leave the event to the view.
    bool mousePress(QMouseEvent *event);
    void mouseMove(QMouseEvent *event);
    bool mouseRelease(QMouseEvent *event);
    bool mouseDoubleClick(QMouseEvent *event);
    // Scrolls the code block under the pointer sideways; the view scrolls the page.
    bool wheel(QWheelEvent *event);
    bool keyPress(QKeyEvent *event);
    // Whether the control takes a shortcut before the window's actions do.
    bool takesShortcut(const QKeyEvent &event) const;
    void contextMenu(QContextMenuEvent *event);
    // The pointer left the viewport (perhaps for the copy button, which then stays).
    void pointerLeft();
    // Places the copy button again over the code block under the pointer, after the page
    // moved or changed under it.
    void followPage();

private:
    static LayoutSelection ordered(LayoutDocument::TextPosition a, LayoutDocument::TextPosition b);
    const LayoutDocument &document() const;
    // Repaints, moves the caret to the selection's end and tells the view's listeners.
    void selectionChanged();
    // Extends the selection from its far end to a position (a Shift-click).
    void extendSelection(LayoutDocument::TextPosition to);
    // Drags a code block's scroll indicator to a point; whether the press hit one.
    bool dragScrollIndicator(const LayoutHit &hit, QPointF documentPoint);
    void updateCursor(QPointF viewportPoint);
    // Shows the code block copy button over the code block under a point, hides it elsewhere.
    void updateCodeCopyButton(std::optional<QPointF> viewportPoint);
    void copyHoveredCodeBlock();
    void copyAsMarkdown() const;
    // The code block a context menu was opened over (or, from the keyboard, is in).
    std::optional<int> codeBlockForMenu(const QContextMenuEvent &event) const;

    MarkdownView &m_view;
    CodeBlockCopyButton *m_codeCopyButton = nullptr; // a child of the view's viewport
    bool m_selectionEnabled = true;
    LayoutSelection m_selection;
    LayoutDocument::TextPosition m_caret;
    std::optional<LayoutDocument::TextPosition> m_anchor;
    std::optional<QUrl> m_pressedLink;
    QPointF m_pressPosition;
    bool m_dragging = false;
    bool m_selectingWords = false;
    LayoutScrollNode *m_draggedScroll = nullptr; // valid while the page is not rebuilt
    QUrl m_hoveredLink;
    std::optional<QPointF> m_hoverPoint; // where the pointer is over the viewport
};

} // namespace kestrune
