#include "ui/loadingindicator.h"

#include "ui/systemfont.h"

#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

namespace kestrune {

namespace {

constexpr int spokes = 8;
constexpr int diameter = 28;
constexpr int labelGap = 8;

} // namespace

LoadingIndicator::LoadingIndicator(const QString &label, DynamicColor tint, DynamicColor textColor,
                                   QWidget *parent)
    : QWidget(parent), m_label(label), m_tint(tint), m_textColor(textColor),
      m_animation(new QVariantAnimation(this))
{
    setAccessibleName(label);
    m_animation->setStartValue(0);
    m_animation->setEndValue(spokes);
    m_animation->setDuration(800);
    m_animation->setLoopCount(-1);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        const int step = value.toInt() % spokes;
        if (step != m_step) {
            m_step = step;
            update();
        }
    });
}

QSize LoadingIndicator::sizeHint() const
{
    const QFontMetrics metrics(SystemFont::defaultFont());
    return {std::max(diameter, metrics.horizontalAdvance(m_label)) + 16,
            diameter + labelGap + metrics.height() + 16};
}

void LoadingIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont font = SystemFont::defaultFont();
    const QFontMetrics metrics(font);
    const int total = diameter + labelGap + metrics.height();
    const QPointF center(width() / 2.0, (height() - total) / 2.0 + diameter / 2.0);

    const QColor tint = m_tint.resolve(palette());
    for (int i = 0; i < spokes; ++i) {
        // The spoke at the current step is the darkest; the others fade behind it.
        const int age = (m_step - i + spokes) % spokes;
        QColor color = tint;
        color.setAlphaF(tint.alphaF() * (1.0 - 0.8 * age / double(spokes - 1)));
        const double angle = 2 * M_PI * i / spokes - M_PI / 2;
        const QPointF direction(std::cos(angle), std::sin(angle));
        painter.setPen(QPen(color, 2.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(center + direction * (diameter * 0.22), center + direction * (diameter * 0.46));
    }

    painter.setFont(font);
    painter.setPen(m_textColor.resolve(palette()));
    const QRectF labelRect(0, center.y() + diameter / 2.0 + labelGap, width(), metrics.height());
    painter.drawText(labelRect, Qt::AlignHCenter | Qt::AlignTop, m_label);
}

void LoadingIndicator::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_animation->start();
}

void LoadingIndicator::hideEvent(QHideEvent *event)
{
    m_animation->stop();
    QWidget::hideEvent(event);
}

} // namespace kestrune
