#pragma once

#include "ui/dynamiccolor.h"

#include <QWidget>

class QLabel;
class QToolButton;

namespace kestrune {

// A slim bar across the top of a pane that says something the reader should know but need not
// answer: a warning symbol, a text (wrapped when the pane is narrow) on a warning tint, and,
// when closable, a button that hides the bar. Unlike an alert it blocks nothing.
class NoticeBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr DynamicColor tint = dynamicColor(1.0f, 0.62f, 0.04f, 0.16f, 1.0f, 0.62f, 0.04f, 0.16f);
    static constexpr DynamicColor symbolColor =
        dynamicColor(1.0f, 0.70f, 0.25f, 1.0f, 0.80f, 0.45f, 0.0f, 1.0f);

    explicit NoticeBar(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    void setClosable(bool closable);

Q_SIGNALS:
    // The reader closed the bar with its button.
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    QLabel *m_symbol = nullptr;
    QLabel *m_text = nullptr;
    QToolButton *m_close = nullptr;
};

} // namespace kestrune
