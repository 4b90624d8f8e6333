#include "app/dropoverlay.h"

#include "app/shellcolors.h"
#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace kestrune {

namespace {

constexpr int inset = 8;
constexpr qreal borderRadius = 14;
constexpr qreal borderWidth = 2.5;
constexpr int labelPaddingH = 18;
constexpr int labelPaddingV = 10;
constexpr float tintOpacity = 0.10f;
constexpr float surfaceOpacity = 0.96f;

QFont labelFont()
{
    return SystemFont::font(15, QFont::DemiBold);
}

} // namespace

DropOverlay::DropOverlay(QWidget *parent) : QWidget(parent), m_text(Localization::text("drop.hint"))
{
    setObjectName(QStringLiteral("dropOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(m_text);
    hide();
    if (parent)
        parent->installEventFilter(this);
}

void DropOverlay::showOverParent()
{
    if (QWidget *parent = parentWidget())
        setGeometry(parent->rect());
    raise();
    show();
}

bool DropOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void DropOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    painter.fillRect(rect(), ShellColors::accent.withOpacity(tintOpacity).resolve(pal));

    QPainterPath border;
    border.addRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), borderRadius, borderRadius);
    QPen pen(ShellColors::accent.resolve(pal), borderWidth);
    pen.setStyle(Qt::DashLine);
    pen.setDashPattern({4, 3});
    painter.strokePath(border, pen);

    const QFont font = labelFont();
    const QFontMetrics metrics(font);
    const QSize textSize(metrics.horizontalAdvance(m_text), metrics.height());
    QRectF label(QPointF(0, 0),
                 QSizeF(textSize.width() + 2 * labelPaddingH, textSize.height() + 2 * labelPaddingV));
    label.moveCenter(QRectF(rect()).center());
    QPainterPath surface;
    surface.addRoundedRect(label, label.height() / 2, label.height() / 2);
    painter.fillPath(surface, ShellColors::tabsBarBackground.withOpacity(surfaceOpacity).resolve(pal));
    painter.strokePath(surface, QPen(ShellColors::accent.resolve(pal), 1.5));
    painter.setFont(font);
    painter.setPen(ShellColors::strongText.resolve(pal));
    painter.drawText(label, Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

} // namespace kestrune
