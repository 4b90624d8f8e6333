#pragma once

#include "ui/dynamiccolor.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <optional>

namespace kestrune {

// One text centred in all the room it is given, in an appearance-dependent colour, over an
// optional appearance-dependent background. Used for empty states and placeholders.
class CenteredTextView : public QWidget
{
    Q_OBJECT

public:
    explicit CenteredTextView(const QString &text, DynamicColor color, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    void setBackground(DynamicColor background);
    void setTextFont(const QFont &font);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    DynamicColor m_color;
    std::optional<DynamicColor> m_background;
    QFont m_font;
};

} // namespace kestrune
