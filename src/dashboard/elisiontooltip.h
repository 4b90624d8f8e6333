#pragma once

#include <QString>

class QEvent;
class QWidget;

namespace kestrune {

// Names that a card had to cut short are shown in full as the card's tooltip; names shown whole
// get no tooltip at all.
class ElisionToolTip
{
public:
    ElisionToolTip() = delete;

    // Answers a tooltip event for the widget: the full text when it was elided, else nothing.
    // Returns true (the event is handled either way).
    static bool show(QEvent *event, QWidget *widget, const QString &fullText, bool elided);
};

} // namespace kestrune
