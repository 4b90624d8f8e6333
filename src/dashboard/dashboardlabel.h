#pragma once

#include "ui/dynamiccolor.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace kestrune {

// One line of text in a dashboard font and palette colour, elided at its end when narrower than
// the text. Headings and captions of the dashboard use it.
class DashboardLabel : public QWidget
{
    Q_OBJECT

public:
    DashboardLabel(const QString &text, const QFont &font, DynamicColor color, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QFont textFont() const { return m_font; }
    DynamicColor color() const { return m_color; }
    // The distance from the top to the text's baseline.
    int baseline() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QFont m_font;
    DynamicColor m_color;
};

} // namespace kestrune
