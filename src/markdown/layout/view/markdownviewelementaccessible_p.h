#pragma once

#include "markdown/layout/document/accessibletextmap_p.h"

#include <QAccessibleInterface>
#include <QPointer>

namespace kestrune {

class MarkdownView;

// A heading, link or picture of a MarkdownView's page, as a child of its document: its role,
// name (the heading's or link's text, the picture's alternative text), description (a link's
// target, a heading's level), place on the screen, and for a link the press action that
// activates it as a click does. It keeps what it stands for, so that it reads the same while
// out of the tree; the view's MarkdownViewAccessibleChildren tells it where it stands in each new
// text map, and lets go of it when its element is gone.
class MarkdownViewElementAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MarkdownViewElementAccessible(MarkdownView *view, const AccessibleTextMap::Element &element, int index);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    // The element's range in the document's text.
    std::pair<int, int> textRange() const;

    const AccessibleTextMap::Element &element() const { return m_element; }
    // Its index among the document's children; -1 while out of the tree.
    int index() const { return m_index; }
    // It stands for this element of the current text map now.
    void follow(const AccessibleTextMap::Element &element, int index);
    // It is no child of the document any more (for now or for good).
    void leaveTree() { m_index = -1; }

private:
    bool isInTree() const { return m_view && m_index >= 0; }

    QPointer<MarkdownView> m_view;
    AccessibleTextMap::Element m_element;
    int m_index;
};

} // namespace kestrune
