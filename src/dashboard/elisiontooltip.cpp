#include "dashboard/elisiontooltip.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace kestrune {

ElisionToolTip::ElisionToolTip(QWidget *card) : QObject(card), m_card(card)
{
    card->installEventFilter(this);
}

void ElisionToolTip::setShownText(const QString &fullText, bool elided)
{
    m_fullText = fullText;
    m_elided = elided;
}

bool ElisionToolTip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_card || event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    if (m_elided) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), m_fullText, m_card);
    } else {
        QToolTip::hideText();
        // Left to the widgets beneath, which may have a tooltip of their own.
        event->ignore();
    }
    return true;
}

} // namespace kestrune
