#pragma once

#include <QAbstractButton>

namespace kestrune {

// One segment of a segmented switch: a checkable button that draws its text, raised on a
// light surface while it is the chosen one. The switch draws the track behind the segments.
class SegmentButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit SegmentButton(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kestrune
