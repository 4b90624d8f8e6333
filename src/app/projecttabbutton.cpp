#include "app/projecttabbutton.h"

#include "app/shellcolors.h"
#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QPainter>
#include <QPainterPath>

namespace kestrune {

namespace {

constexpr int paddingH = 12;
constexpr int paddingV = 7;
constexpr float selectedStrokeOpacity = 0.45f;
constexpr qreal busyMarkRadius = 2.5;
constexpr int busyPulse = 900; // milliseconds, dim to bright and back

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
    m_busyDelay.setSingleShot(true);
    m_busyDelay.setInterval(busyMarkDelay);
    connect(&m_busyDelay, &QTimer::timeout, this, [this] { m_busyAnimation.start(); });
    m_busyAnimation.setStartValue(0.25);
    m_busyAnimation.setKeyValueAt(0.5, 1.0);
    m_busyAnimation.setEndValue(0.25);
    m_busyAnimation.setDuration(busyPulse);
    m_busyAnimation.setLoopCount(-1);
    connect(&m_busyAnimation, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

void ProjectTabButton::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    if (busy) {
        m_busyDelay.start();
    } else {
        m_busyDelay.stop();
        m_busyAnimation.stop();
        update();
    }
    updateDescription();
}

void ProjectTabButton::setMissing(bool missing)
{
    if (m_missing == missing)
        return;
    m_missing = missing;
    setToolTip(missing ? Localization::format("project_tab.missing", m_root.toLocalFile())
                       : m_root.toLocalFile());
    updateDescription();
    update();
}

void ProjectTabButton::updateDescription()
{
    QStringList states;
    if (m_missing)
        states.append(Localization::text("project_tab.missing_short"));
    if (m_busy)
        states.append(Localization::text("project_tab.updating"));
    setAccessibleDescription(states.join(QStringLiteral(", ")));
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

    QFont font = tabFont();
    font.setStrikeOut(m_missing);
    painter.setFont(font);
    painter.setPen((m_selected ? ShellColors::strongText : ShellColors::mutedText).resolve(pal));
    painter.drawText(rect().adjusted(paddingH, 0, -paddingH, 0), Qt::AlignCenter | Qt::TextSingleLine,
                     text());

    if (isShowingBusyMark()) {
        // In the trailing padding, clear of the name.
        QColor mark = ShellColors::accent.resolve(pal);
        mark.setAlphaF(float(mark.alphaF() * m_busyAnimation.currentValue().toReal()));
        painter.setPen(Qt::NoPen);
        painter.setBrush(mark);
        painter.drawEllipse(QPointF(width() - paddingH / 2.0, height() / 2.0), busyMarkRadius,
                            busyMarkRadius);
    }

    if (hasFocus()) {
        painter.setClipping(false);
        painter.setPen(QPen(ShellColors::accent.resolve(pal), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
}

} // namespace kestrune
