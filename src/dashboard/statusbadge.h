#pragma once

#include "ui/dynamiccolor.h"

#include <QSizeF>
#include <QString>

class QPainter;
class QPalette;
class QPointF;

namespace kestrune {

// A small rounded label: the text in 12-point bold in the colour, on a rounded rectangle filled
// with the colour at the fill opacity and outlined in the colour at 45 %.
class StatusBadge
{
public:
    StatusBadge(const QString &text, DynamicColor color, float fillOpacity);

    QString text() const { return m_text; }
    QSizeF size() const;
    // The height of every badge, measured without the text.
    static qreal height();
    // Paints the badge with its top-left corner at the point.
    void paint(QPainter *painter, const QPointF &topLeft, const QPalette &palette) const;

private:
    QString m_text;
    DynamicColor m_color;
    float m_fillOpacity = 0;
};

} // namespace kestrune
