#pragma once

#include "ui/dynamiccolor.h"

#include <QString>
#include <QWidget>

class QVariantAnimation;

namespace kestrune {

// A spinning progress indicator with a label under it, centred in all the room it is given.
class LoadingIndicator : public QWidget
{
    Q_OBJECT

public:
    LoadingIndicator(const QString &label, DynamicColor tint, DynamicColor textColor,
                     QWidget *parent = nullptr);

    QString label() const { return m_label; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QString m_label;
    DynamicColor m_tint;
    DynamicColor m_textColor;
    QVariantAnimation *m_animation = nullptr;
    int m_step = 0;
};

} // namespace kestrune
