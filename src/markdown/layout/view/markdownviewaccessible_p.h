#pragma once

#include <QAccessibleWidget>

namespace kestrune {

class MarkdownView;

// What assistive technology finds where a MarkdownView is: a read-only document named by the
// view's accessible name (the file it shows), whose text is the page's text as the view copies
// it, with its headings, links and pictures as children. The text covers the part of the page
// built so far and grows as the view lays out the rest in the background; the children stay
// while their blocks do (see MarkdownViewAccessibleChildren).
class MarkdownViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit MarkdownViewAccessible(MarkdownView *view);

    // Installs the factory that makes one for every MarkdownView (once; the view's constructor
    // calls it).
    static void install();

    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(QAccessible::Text t) const override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    MarkdownView *view() const;
};

} // namespace kestrune
