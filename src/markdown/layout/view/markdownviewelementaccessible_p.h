#pragma once

#include "markdown/layout/document/accessibletextmap_p.h"

#include <QAccessibleInterface>
#include <QPointer>

namespace kestrune {

class MarkdownView;

// A heading, link or picture of a MarkdownView's page, as a child of its document: its role,
// name (the heading's or link's text, the picture's alternative text), description (a link's
// target, a heading's level), place on the screen, and for a link the press action that
// activates it as a click does. It stands for one element of one text map of the view and is
// invalid once the view made a new one.
class MarkdownViewElementAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MarkdownViewElementAccessible(MarkdownView *view, int index, int generation);

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

private:
    // The element in the view's current text map; none once the view made a new one.
    const AccessibleTextMap::Element *element() const;

    QPointer<MarkdownView> m_view;
    int m_index;
    int m_generation;
};

} // namespace kestrune
