#pragma once

#include <QAbstractButton>

namespace kestrune {

// The borderless "…" button of a specification card: a 24-point square that opens its menu.
class SpecMenuButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit SpecMenuButton(QWidget *parent = nullptr);

    static constexpr int side = 24;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kestrune
