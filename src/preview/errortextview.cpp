#include "preview/errortextview.h"

#include "preview/previewfonts.h"
#include "ui/standardcolors.h"

#include <QPainter>

namespace kestrune {

ErrorTextView::ErrorTextView(QWidget *parent) : QWidget(parent)
{
    setFont(PreviewFonts::body());
}

void ErrorTextView::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize ErrorTextView::sizeHint() const
{
    return fontMetrics().size(0, m_text) + QSize(2 * padding, 2 * padding);
}

QSize ErrorTextView::minimumSizeHint() const
{
    return {2 * padding, fontMetrics().height() + 2 * padding};
}

void ErrorTextView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(StandardColors::red.resolve(palette()));
    painter.drawText(rect().adjusted(padding, padding, -padding, -padding),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_text);
}

} // namespace kestrune
