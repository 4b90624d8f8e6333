#include "preview/previewchangemarks.h"

namespace kestrune {

namespace {

ChangeMark::Kind kindOf(BlockChange::Kind kind)
{
    switch (kind) {
    case BlockChange::Kind::added:
        return ChangeMark::Kind::added;
    case BlockChange::Kind::removed:
        return ChangeMark::Kind::removed;
    case BlockChange::Kind::modified:
        break;
    }
    return ChangeMark::Kind::modified;
}

} // namespace

ChangeMarks PreviewChangeMarks::from(const BlockDiffResult &diff)
{
    ChangeMarks marks;
    marks.reserve(diff.changes.size());
    for (const BlockChange &change : diff.changes) {
        // Blocks removed together stand before the same line: one marker, whose tool tip shows
        // them all, rather than markers painted over each other showing the first alone.
        if (change.kind == BlockChange::Kind::removed && !marks.isEmpty() &&
            marks.constLast().kind == ChangeMark::Kind::removed &&
            marks.constLast().firstLine == change.lines.first) {
            marks.last().removedText += QStringLiteral("\n\n") + change.removedText;
            continue;
        }
        marks.append({kindOf(change.kind), change.lines.first, change.lines.count, change.removedText});
    }
    return marks;
}

} // namespace kestrune
