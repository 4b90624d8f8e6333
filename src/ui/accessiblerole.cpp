#include "ui/accessiblerole.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace kestrune {

namespace {

constexpr const char *roleProperty = "kestrune_accessibleRole";

// Asked with the class names of an object from the most derived one up; answers the first time
// for a widget that was given a role.
QAccessibleInterface *interfaceFor(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(roleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Role(role.toInt()));
}

} // namespace

void AccessibleRole::set(QWidget *widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(roleProperty, int(role));
}

QAccessible::Role AccessibleRole::of(const QWidget *widget)
{
    const QVariant role = widget->property(roleProperty);
    return role.isValid() ? QAccessible::Role(role.toInt()) : QAccessible::NoRole;
}

} // namespace kestrune
