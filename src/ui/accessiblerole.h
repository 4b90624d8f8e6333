#pragma once

#include <QAccessible>

class QWidget;

namespace kestrune {

// Gives a widget drawn by the program the role an assistive technology should announce, where
// Qt's own choice for its class is wrong: a card painted on a plain QWidget is a "client" to Qt,
// but reads as a button to its users. The widget keeps Qt's interface otherwise (its accessible
// name and description, focus and geometry).
//
// Call it in the widget's constructor, before anything asks for the widget's accessible
// interface: Qt makes that once per widget and keeps it.
class AccessibleRole
{
public:
    AccessibleRole() = delete;

    static void set(QWidget *widget, QAccessible::Role role);
    // The role given to the widget, or QAccessible::NoRole.
    static QAccessible::Role of(const QWidget *widget);
};

} // namespace kestrune
