#include "ui/filterfieldkeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kestrune {

bool FilterFieldKeys::handle(QKeyEvent *key, QWidget *list, const std::function<void()> &choose,
                             const std::function<void()> &close)
{
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The list moves through its shown rows only.
        QCoreApplication::sendEvent(list, key);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

} // namespace kestrune
