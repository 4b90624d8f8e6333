#pragma once

#include "ui/dynamiccolor.h"

#include <QAbstractButton>
#include <QFont>

namespace kestrune {

// A button drawn as its text alone, in a palette colour: no frame, no background.
class LinkButton : public QAbstractButton
{
    Q_OBJECT

public:
    LinkButton(const QString &text, const QFont &font, DynamicColor color, QWidget *parent = nullptr);

    // The distance from the top to the text's baseline.
    int baseline() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont m_font;
    DynamicColor m_color;
};

} // namespace kestrune
