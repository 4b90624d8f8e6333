#pragma once

#include "ui/dynamiccolor.h"

#include <QWidget>

namespace kestrune {

// A line one pixel thick in an appearance-dependent colour, spanning its parent's layout.
class SeparatorLine : public QWidget
{
    Q_OBJECT

public:
    SeparatorLine(Qt::Orientation orientation, DynamicColor color, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DynamicColor m_color;
};

} // namespace kestrune
