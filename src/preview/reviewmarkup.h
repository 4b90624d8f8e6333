#pragma once

#include "review/textdiff.h"

#include <QList>
#include <QString>

namespace kestrune {

// Turns the differences between two Markdown texts into one Markdown text that shows both:
// inserted text between "<ins>" and "</ins>", removed text between "<del>" and "</del>", which the
// layout engine draws underlined and struck through. The tags are placed line by line inside the
// blocks, after a line's block markers (heading hashes, list bullets and numbers, task boxes,
// quote marks), so that the marked text keeps the structure of the new one. Lines of fenced code
// and table rows, where tags would be shown as text or break the table, are left unmarked.
class ReviewMarkup
{
public:
    ReviewMarkup() = delete;

    static QString markedMarkdown(const QList<DiffHunk> &hunks);
};

} // namespace kestrune
