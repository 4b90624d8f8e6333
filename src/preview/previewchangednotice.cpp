#include "preview/previewchangednotice.h"

#include "preview/previewcolors.h"
#include "ui/localization.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace kestrune {

namespace {

constexpr int verticalPadding = 6;

} // namespace

PreviewChangedNotice::PreviewChangedNotice(QWidget *parent)
    : QWidget(parent), m_label(new QLabel(Localization::text("reading.preview.changed"), this)),
      m_markAsRead(new QPushButton(Localization::text("reading.action.mark_read"), this))
{
    setObjectName(QStringLiteral("changedSinceReadNotice"));
    m_label->setObjectName(QStringLiteral("changedSinceReadText"));
    m_markAsRead->setObjectName(QStringLiteral("markAsRead"));
    m_markAsRead->setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(m_markAsRead, &QPushButton::clicked, this, &PreviewChangedNotice::markAsReadRequested);

    auto *layout = new QHBoxLayout(this);
    // The hairline below takes a pixel of the bottom padding.
    layout->setContentsMargins(padding + dotSize + dotSpacing, verticalPadding, padding, verticalPadding + 1);
    layout->setSpacing(12);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_markAsRead);
    applyColors();
}

QRect PreviewChangedNotice::dotRect() const
{
    // Beside the label's line, centred on it.
    const QRect line = m_label->geometry();
    return {padding, line.center().y() - dotSize / 2 + 1, dotSize, dotSize};
}

void PreviewChangedNotice::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(PreviewColors::accent.resolve(palette()));
    painter.drawEllipse(dotRect());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(0, height() - 1, width(), 1), PreviewColors::rule.resolve(palette()));
}

void PreviewChangedNotice::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void PreviewChangedNotice::applyColors()
{
    QPalette palette = m_label->palette();
    const QColor text = PreviewColors::secondaryText.resolve(this->palette());
    if (palette.color(QPalette::WindowText) == text)
        return;
    palette.setColor(QPalette::WindowText, text);
    m_label->setPalette(palette);
}

} // namespace kestrune
