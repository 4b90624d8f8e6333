#include "firstpaint.h"

#include <QEvent>
#include <QTimer>

bool FirstPaint::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Paint && !painted) {
        painted = true;
        QTimer::singleShot(0, &m_loop, &QEventLoop::quit);
    }
    return false;
}
