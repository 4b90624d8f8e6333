#pragma once

#include <QWidget>

namespace kestrune {

// Lays a rounded tint over the widget it decorates while the pointer is over that widget: the
// active accent at 12 %, shown and cleared at once, without animation. It never takes clicks;
// they reach the widget below. Create it as a child of the decorated widget, which keeps it
// covering its whole rectangle and on top of its other children.
class HoverHighlightModifier : public QWidget
{
    Q_OBJECT

public:
    HoverHighlightModifier(qreal cornerRadius, QWidget *decorated);

    qreal cornerRadius() const { return m_cornerRadius; }
    bool isHovered() const { return m_hovered; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setHovered(bool hovered);

    qreal m_cornerRadius = 0;
    bool m_hovered = false;
};

} // namespace kestrune
