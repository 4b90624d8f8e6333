#pragma once

#include "ui/dynamiccolor.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace kestrune {

// One line of text in a given font and appearance-dependent colour, shortened with an ellipsis
// (at the end or in the middle) when the room it is given is narrower than the text. Titles and
// captions of the dashboard and the preview's header use it.
class ElidedLabel : public QWidget
{
    Q_OBJECT

public:
    ElidedLabel(const QString &text, const QFont &font, DynamicColor color, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // Where the ellipsis goes; at the end unless set.
    void setElideMode(Qt::TextElideMode mode);
    // Whether the whole text is the tooltip, for labels that are often cut short.
    void setToolTipShowsText(bool shows);
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
    bool m_toolTipShowsText = false;
};

} // namespace kestrune
