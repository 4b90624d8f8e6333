#include "dashboard/hoverhighlightmodifier.h"

#include "dashboard/dashboardpalette.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace kestrune {

namespace {

constexpr float tintOpacity = 0.12f;

} // namespace

HoverHighlightModifier::HoverHighlightModifier(qreal cornerRadius, QWidget *decorated)
    : QWidget(decorated), m_cornerRadius(cornerRadius)
{
    Q_ASSERT(decorated);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(decorated->rect());
    decorated->installEventFilter(this);
    // Nothing to draw until the pointer comes; a hidden overlay costs nothing when repainting.
    hide();
}

bool HoverHighlightModifier::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent()) {
        switch (event->type()) {
        case QEvent::Enter:
            setHovered(true);
            break;
        case QEvent::Leave:
        case QEvent::Hide:
            setHovered(false);
            break;
        case QEvent::Resize:
            setGeometry(parentWidget()->rect());
            break;
        case QEvent::ChildAdded:
            // Children added later would otherwise be stacked above the tint.
            if (isVisible())
                raise();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HoverHighlightModifier::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    if (hovered) {
        raise();
        show();
    } else {
        hide();
    }
}

void HoverHighlightModifier::paintEvent(QPaintEvent *)
{
    if (!m_hovered)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
    painter.fillPath(shape, DashboardPalette::activeAccent.withOpacity(tintOpacity).resolve(palette()));
}

} // namespace kestrune
