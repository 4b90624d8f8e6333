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
    for (const BlockChange &change : diff.changes)
        marks.append({kindOf(change.kind), change.lines.first, change.lines.count, change.removedText});
    return marks;
}

} // namespace kestrune
