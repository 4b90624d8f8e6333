#include "preview/deltabadge.h"

#include "preview/previewfonts.h"
#include "ui/standardcolors.h"

#include <QPainter>
#include <QPainterPath>

namespace kestrune {

namespace {

constexpr int paddingH = 6;
constexpr int paddingV = 4;
constexpr qreal cornerRadius = 4;
constexpr float backgroundOpacity = 0.3f;

DynamicColor backgroundFor(DeltaSpecType type)
{
    switch (type) {
    case DeltaSpecType::added:
        return StandardColors::green.withOpacity(backgroundOpacity);
    case DeltaSpecType::modified:
        return StandardColors::orange.withOpacity(backgroundOpacity);
    case DeltaSpecType::removed:
        return StandardColors::red.withOpacity(backgroundOpacity);
    }
    Q_UNREACHABLE();
    return StandardColors::clear;
}

} // namespace

DeltaBadge::DeltaBadge(DeltaSpecType type, QWidget *parent)
    : QWidget(parent), m_type(type), m_font(PreviewFonts::caption())
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text(type));
}

void DeltaBadge::setType(DeltaSpecType type)
{
    if (type == m_type)
        return;
    m_type = type;
    setAccessibleName(text(type));
    updateGeometry();
    update();
}

QString DeltaBadge::text(DeltaSpecType type)
{
    switch (type) {
    case DeltaSpecType::added:
        return QStringLiteral("ADDED");
    case DeltaSpecType::modified:
        return QStringLiteral("MODIFIED");
    case DeltaSpecType::removed:
        return QStringLiteral("REMOVED");
    }
    Q_UNREACHABLE();
    return QString();
}

QSize DeltaBadge::sizeHint() const
{
    const QFontMetrics metrics(m_font);
    return {metrics.horizontalAdvance(text(m_type)) + 2 * paddingH, metrics.height() + 2 * paddingV};
}

void DeltaBadge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(shape, backgroundFor(m_type).resolve(palette()));
    painter.setFont(m_font);
    painter.setPen(StandardColors::primaryText.resolve(palette()));
    painter.drawText(rect().adjusted(paddingH, paddingV, -paddingH, -paddingV),
                     Qt::AlignCenter | Qt::TextSingleLine, text(m_type));
}

} // namespace kestrune
