#pragma once

#include "ui/dynamiccolor.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace kestrune {

// One line of text in an appearance-dependent colour, shortened with an ellipsis (at the end or
// in the middle) when the room it is given is narrower than the text.
class ElidedLabel : public QWidget
{
    Q_OBJECT

public:
    ElidedLabel(const QFont &font, DynamicColor color, Qt::TextElideMode elideMode,
                QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // The text as drawn at the current width.
    QString displayedText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QFont m_font;
    DynamicColor m_color;
    Qt::TextElideMode m_elideMode = Qt::ElideRight;
};

} // namespace kestrune
