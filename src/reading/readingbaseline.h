#pragma once

#include "reading/seenfile.h"

#include <QDateTime>
#include <QHash>
#include <QString>

namespace kestrune {

struct TreeNode;

// What a project's first import records, so that a project seen for the first time counts as
// entirely seen: every Markdown file of the outline with the date it has now, which costs no
// reading at all. Only the files the cards compare (a change's task list, a file holding
// requirements) are read, for their facts and hash; no text is kept here, since writing one text
// file per project file would cost the first import as much as reading the whole project: the
// store keeps them afterwards, a batch at a time (UnchangedTextCapture).
class ReadingBaseline
{
public:
    ReadingBaseline() = delete;

    // The seen files of the outline `tree`, by their path relative to its root, as of `now`.
    static QHash<QString, SeenFile> of(const TreeNode &tree, const QDateTime &now);
    // The record of a file read now: date, size, hash and facts, and no text kept yet.
    static SeenFile seenNow(const QString &relativePath, const QByteArray &bytes,
                            const QDateTime &modificationDate, const QDateTime &now);
};

} // namespace kestrune
