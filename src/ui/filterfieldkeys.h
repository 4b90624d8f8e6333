#pragma once

#include <functional>

class QKeyEvent;
class QWidget;

namespace kestrune {

// The keys of a filter field above a list in a popup: Up, Down, Page Up and Page Down move
// through the list while the field keeps the focus, Enter chooses the current row, Escape
// closes the popup.
class FilterFieldKeys
{
public:
    // Handles a key pressed in the field; returns whether it was taken.
    static bool handle(QKeyEvent *key, QWidget *list, const std::function<void()> &choose,
                       const std::function<void()> &close);
};

} // namespace kestrune
