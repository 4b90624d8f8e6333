#include "app/projecttabbutton.h"

#include "app/shellcolors.h"
#include "ui/systemfont.h"

#include <QPainter>
#include <QPainterPath>

namespace kestrune {

namespace {

constexpr int paddingH = 12;
constexpr int paddingV = 7;
constexpr float selectedStrokeOpacity = 0.45f;

QFont tabFont()
{
    return SystemFont::font(12, QFont::DemiBold);
}

} // namespace

ProjectTabButton::ProjectTabButton(const QUrl &root, const QString &name, QWidget *parent)
    : QAbstractButton(parent), m_root(root)
{
    setText(name);
    setToolTip(root.toLocalFile());
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ProjectTabButton::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    update();
}

QSize ProjectTabButton::sizeHint() const
{
    const QFontMetrics metrics(tabFont());
    return {metrics.horizontalAdvance(text()) + 2 * paddingH, metrics.height() + 2 * paddingV};
}

void ProjectTabButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = bounds.height() / 2;
    QPainterPath capsule;
    capsule.addRoundedRect(bounds, radius, radius);

    painter.setClipPath(capsule);
    painter.fillPath(capsule,
                     (m_selected ? ShellColors::selectedTabFill : ShellColors::subtleFill).resolve(pal));
    const QColor stroke = m_selected ? ShellColors::accent.withOpacity(selectedStrokeOpacity).resolve(pal)
                                     : ShellColors::hairline.resolve(pal);
    painter.setPen(QPen(stroke, 1));
    painter.drawPath(capsule);

    painter.setFont(tabFont());
    painter.setPen((m_selected ? ShellColors::strongText : ShellColors::mutedText).resolve(pal));
    painter.drawText(rect().adjusted(paddingH, 0, -paddingH, 0), Qt::AlignCenter | Qt::TextSingleLine,
                     text());

    if (hasFocus()) {
        painter.setClipping(false);
        painter.setPen(QPen(ShellColors::accent.resolve(pal), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
}

} // namespace kestrune
