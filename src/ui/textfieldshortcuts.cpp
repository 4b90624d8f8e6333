#include "ui/textfieldshortcuts.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <algorithm>
#include <array>

namespace kestrune {

namespace {

// A field's editing keys that carry a modifier, as the desktop names them. The keys that delete
// to the end or the whole of the line are not among them: the window's commands come first.
constexpr std::array editingKeys{
    QKeySequence::Copy,
    QKeySequence::Cut,
    QKeySequence::Paste,
    QKeySequence::Undo,
    QKeySequence::Redo,
    QKeySequence::SelectAll,
    QKeySequence::Deselect,
    QKeySequence::MoveToNextChar,
    QKeySequence::MoveToPreviousChar,
    QKeySequence::MoveToNextWord,
    QKeySequence::MoveToPreviousWord,
    QKeySequence::MoveToStartOfLine,
    QKeySequence::MoveToEndOfLine,
    QKeySequence::MoveToStartOfBlock,
    QKeySequence::MoveToEndOfBlock,
    QKeySequence::MoveToStartOfDocument,
    QKeySequence::MoveToEndOfDocument,
    QKeySequence::SelectNextChar,
    QKeySequence::SelectPreviousChar,
    QKeySequence::SelectNextWord,
    QKeySequence::SelectPreviousWord,
    QKeySequence::SelectStartOfLine,
    QKeySequence::SelectEndOfLine,
    QKeySequence::SelectStartOfBlock,
    QKeySequence::SelectEndOfBlock,
    QKeySequence::SelectStartOfDocument,
    QKeySequence::SelectEndOfDocument,
    QKeySequence::Delete,
    QKeySequence::Backspace,
    QKeySequence::DeleteStartOfWord,
    QKeySequence::DeleteEndOfWord,
};

} // namespace

bool TextFieldShortcuts::isEditingKey(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier) {
        // What types a character, and the keys that move and delete without a modifier.
        if (key.key() < Qt::Key_Escape)
            return true;
        switch (key.key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Left:
        case Qt::Key_Right:
            return true;
        default:
            break;
        }
    }
    return std::any_of(editingKeys.begin(), editingKeys.end(),
                       [&key](QKeySequence::StandardKey standard) { return key.matches(standard); });
}

bool TextFieldShortcuts::filterShortcutOverride(QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    // Accepted, the key goes to the field as a key press; ignored, to the shortcuts first.
    event->setAccepted(isEditingKey(*static_cast<QKeyEvent *>(event)));
    return true;
}

} // namespace kestrune
