#include "dashboard/summarycardview.h"

#include "dashboard/cardshadow.h"
#include "dashboard/cardsurface.h"
#include "dashboard/dashboardpalette.h"
#include "ui/accessiblerole.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QEasingCurve>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace kestrune {

namespace {

constexpr qreal cornerRadius = 18;
constexpr int iconSize = 18;
constexpr int iconPadding = 12;
constexpr int textPaddingH = 16;
constexpr int textPaddingV = 12;
constexpr int textSpacing = 4;
constexpr int valueSpacing = 6;
constexpr qreal titleTracking = 1.2;
constexpr float surfaceOpacity = 0.96f;
constexpr float titleOpacity = 0.92f;
constexpr float iconRestOpacity = 0.36f;
constexpr float iconHoverOpacity = 0.90f;

constexpr qreal liftDistance = 4;
constexpr int shadowRadius = 12;
constexpr qreal shadowOffset = 4;
constexpr qreal shadowOpacity = 0.12;
constexpr int animationMilliseconds = 220;

QFont titleFont()
{
    QFont font = SystemFont::font(11, QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, titleTracking);
    return font;
}

QFont valueFont()
{
    return SystemFont::font(28, QFont::Bold, SystemFont::Design::rounded);
}

QFont subtextFont()
{
    return SystemFont::font(11, QFont::Medium, SystemFont::Design::monospaced);
}

QColor mix(const QColor &from, const QColor &to, qreal t)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t),
                            float(from.alphaF() + (to.alphaF() - from.alphaF()) * t));
}

// The standard ease-in-out timing: a cubic Bézier through (0.42, 0) and (0.58, 1).
QEasingCurve easeInOut()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0.0), QPointF(0.58, 1.0), QPointF(1.0, 1.0));
    return curve;
}

} // namespace

SummaryCardView::SummaryCardView(const QString &title, const QString &value, const QString &subtext,
                                 const QString &icon, QWidget *parent)
    : QWidget(parent), m_title(title), m_value(value), m_subtext(subtext), m_icon(icon),
      m_animation(new QVariantAnimation(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    AccessibleRole::set(this, QAccessible::StaticText);
    setAccessibleName(accessibleText());

    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setDuration(animationMilliseconds);
    m_animation->setEasingCurve(easeInOut());
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_progress = value.toReal();
        update();
    });
}

SummaryCardView::~SummaryCardView() = default;

QMargins SummaryCardView::overhang()
{
    // The lifted card's shadow reaches the blur radius beyond the card on every side: the lift
    // and the downward offset cancel out.
    const int room = shadowRadius;
    return {room, room, room, room};
}

void SummaryCardView::setValue(const QString &value, const QString &subtext)
{
    if (m_value == value && m_subtext == subtext)
        return;
    m_value = value;
    m_subtext = subtext;
    setAccessibleName(accessibleText());
    update();
}

QString SummaryCardView::accessibleText() const
{
    QStringList parts;
    for (const QString &part : {m_title, m_value, m_subtext}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(QStringLiteral(", "));
}

QRect SummaryCardView::cardRect() const
{
    return rect().marginsRemoved(overhang());
}

QSize SummaryCardView::sizeHint() const
{
    return {190, cardHeight};
}

QSize SummaryCardView::minimumSizeHint() const
{
    return {textPaddingH * 2 + iconSize, cardHeight};
}

void SummaryCardView::enterEvent(QEnterEvent *event)
{
    setHovered(cardRect().contains(event->position().toPoint()));
    QWidget::enterEvent(event);
}

void SummaryCardView::mouseMoveEvent(QMouseEvent *event)
{
    // The widget reaches into the spacing around the card; only the card itself counts.
    setHovered(cardRect().contains(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void SummaryCardView::leaveEvent(QEvent *event)
{
    setHovered(false);
    QWidget::leaveEvent(event);
}

void SummaryCardView::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    // Run on from wherever the effects stand, so that a quick in and out never jumps.
    m_animation->setDirection(hovered ? QAbstractAnimation::Forward : QAbstractAnimation::Backward);
    if (m_animation->state() != QAbstractAnimation::Running) {
        m_animation->setCurrentTime(hovered ? 0 : m_animation->duration());
        m_animation->start();
    }
}

void SummaryCardView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const qreal t = m_progress;
    const QRectF card = QRectF(cardRect()).translated(0, -liftDistance * t);

    if (t > 0) {
        // The shadow eases in with the lift: radius, offset and opacity all grow from nothing.
        const int radius = int(std::lround(shadowRadius * t));
        const qreal ratio = devicePixelRatioF();
        const QImage shadow = CardShadow::image(cardRect().size(), cornerRadius, radius, ratio);
        const int m = CardShadow::margin(radius);
        painter.save();
        painter.setOpacity(shadowOpacity * t);
        painter.drawImage(card.topLeft() + QPointF(-m, -m + shadowOffset * t), shadow);
        painter.restore();
    }

    QLinearGradient surface(card.topLeft(), card.bottomRight());
    surface.setColorAt(0, DashboardPalette::cardFill.withOpacity(surfaceOpacity).resolve(pal));
    surface.setColorAt(1, DashboardPalette::cardFillMuted.withOpacity(surfaceOpacity).resolve(pal));
    CardSurface::paint(&painter, card, cornerRadius, QBrush(surface),
                       DashboardPalette::cardBorder.resolve(pal));

    const QColor iconColor =
        mix(DashboardPalette::secondaryText.withOpacity(iconRestOpacity).resolve(pal),
            DashboardPalette::activeAccent.withOpacity(iconHoverOpacity).resolve(pal), t);
    SymbolIcon::paint(
        &painter, QRectF(card.right() - iconPadding - iconSize, card.top() + iconPadding, iconSize, iconSize),
        m_icon, iconColor);

    // Title over the value line, the pair centred vertically.
    const QFont title = titleFont();
    const QFont value = valueFont();
    const QFont subtext = subtextFont();
    const QFontMetrics titleMetrics(title);
    const QFontMetrics valueMetrics(value);
    const QFontMetrics subtextMetrics(subtext);
    const QRectF text = card.adjusted(textPaddingH, textPaddingV, -textPaddingH, -textPaddingV);
    const qreal stackHeight = titleMetrics.height() + textSpacing + valueMetrics.height();
    const qreal top = text.top() + (text.height() - stackHeight) / 2;

    painter.setFont(title);
    painter.setPen(DashboardPalette::secondaryText.withOpacity(titleOpacity).resolve(pal));
    painter.drawText(QRectF(text.left(), top, text.width(), titleMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     titleMetrics.elidedText(m_title, Qt::ElideRight, int(text.width())));

    const qreal valueTop = top + titleMetrics.height() + textSpacing;
    const qreal baseline = valueTop + valueMetrics.ascent();
    const int valueWidth = valueMetrics.horizontalAdvance(m_value);
    painter.setFont(value);
    painter.setPen(DashboardPalette::primaryText.resolve(pal));
    painter.drawText(QPointF(text.left(), baseline), m_value);
    if (!m_subtext.isEmpty()) {
        // At the trailing edge, on the value's baseline.
        const int room = std::max(0, int(text.width()) - valueWidth - valueSpacing);
        const QString shown = subtextMetrics.elidedText(m_subtext, Qt::ElideRight, room);
        painter.setFont(subtext);
        painter.setPen(DashboardPalette::secondaryText.resolve(pal));
        painter.drawText(QPointF(text.right() - subtextMetrics.horizontalAdvance(shown), baseline), shown);
    }
}

} // namespace kestrune
