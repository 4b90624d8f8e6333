#pragma once

#include <QList>
#include <QString>

namespace kestrune {

// A place of the text a page shows that differs from an earlier text of it, by lines of the
// text (counted from 0, as BlockNode::sourceLine counts them). The view paints a bar in the
// margin beside each top-level block that starts in an added or modified range, and a thin marker
// where blocks were removed, whose tool tip shows the removed text. A plain value: whoever
// compares the texts converts its own result into these.
struct ChangeMark
{
    enum class Kind
    {
        added,
        modified,
        removed,
    };

    Kind kind = Kind::modified;
    int firstLine = 0;
    // 0 for a removed block: `firstLine` is then the line it stood before.
    int lineCount = 0;
    QString removedText;

    friend bool operator==(const ChangeMark &, const ChangeMark &) = default;
};

using ChangeMarks = QList<ChangeMark>;

} // namespace kestrune
