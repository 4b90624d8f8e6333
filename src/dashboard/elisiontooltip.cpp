#include "dashboard/elisiontooltip.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace kestrune {

bool ElisionToolTip::show(QEvent *event, QWidget *widget, const QString &fullText, bool elided)
{
    Q_ASSERT(event->type() == QEvent::ToolTip);
    if (elided) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), fullText, widget);
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

} // namespace kestrune
