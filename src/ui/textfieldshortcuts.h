#pragma once

class QEvent;
class QKeyEvent;

namespace kestrune {

// Which keys a one-line text field of the window keeps from the window's shortcuts. A line edit
// claims some keys before any shortcut sees them (on this desktop Ctrl+U, which deletes the
// line); in the fields of the window only the keys it edits with stay with it: typing, moving
// and selecting, the clipboard, undo and redo. Any other key goes to a shortcut of the window
// first, and reaches the field as usual when no shortcut has it.
//
//     bool Field::eventFilter(QObject *watched, QEvent *event)
//     {
//         if (watched == m_field && TextFieldShortcuts::filterShortcutOverride(event))
//             return true;
//         ...
class TextFieldShortcuts
{
public:
    // Whether a text field edits with the key.
    static bool isEditingKey(const QKeyEvent &key);
    // For a field's event filter: decides a QEvent::ShortcutOverride as above and returns true
    // for it (the filter returns that); false for every other event.
    static bool filterShortcutOverride(QEvent *event);
};

} // namespace kestrune
