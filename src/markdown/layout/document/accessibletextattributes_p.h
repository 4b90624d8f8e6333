#pragma once

#include "ui/appearance.h"

#include <QColor>
#include <QString>

namespace kestrune {

class LayoutTextNode;

// The character attributes of a text as assistive technology reads them: the font's family,
// size, weight and style, the colours, underline and strike-through of the run around a
// position, in the "key:value;" form Qt's own text widgets report and its platform bridges
// translate ("font-family:\"Sans\";font-size:13pt;font-weight:bold;...;color:rgb(0,0,0);").
// Colours are those painted in the given appearance; a text without a colour of its own is
// painted in `defaultColor`.
class AccessibleTextAttributes
{
public:
    struct Run
    {
        int start = 0; // [start, end) in the text's positions
        int end = 0;
        QString attributes;
    };

    // The longest run of like attributes around a position (clamped to the text).
    static Run around(const LayoutTextNode &node, int position, Appearance appearance, QColor defaultColor);
};

} // namespace kestrune
