#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace kestrune {

enum class DiffOperation
{
    equal,
    insert,
    remove, // written "delete"
};

// "equal", "insert", "delete".
QString rawValue(DiffOperation operation);
std::optional<DiffOperation> diffOperationFromRawValue(QStringView raw);

// A run of text the two versions share (equal), that only the new one has (insert) or that only
// the old one has (remove).
struct DiffHunk
{
    DiffOperation operation = DiffOperation::equal;
    QString text;

    friend bool operator==(const DiffHunk &, const DiffHunk &) = default;
};

// The differences between two versions of a text, word by word: the texts are cut into words
// (runs of anything but white space, so Markdown markup such as "**WHEN**" stays whole) and runs
// of white space, and a shortest edit script between them is found. When more than half of the
// words differ, whole lines are compared instead, which reads better for a rewrite. Within each
// run of changes the removed text comes first, then the inserted text. White space at the end
// of a line is not compared, and equal hunks hold the new text's: concatenating the equal and
// inserted hunks gives the new text, the equal and removed ones the old text but for that.
struct TextDiff
{
    enum class Granularity
    {
        words,
        lines,
    };

    Granularity granularity = Granularity::words;
    QList<DiffHunk> hunks; // none when both texts are empty

    static TextDiff compare(QStringView before, QStringView after);
};

} // namespace kestrune
