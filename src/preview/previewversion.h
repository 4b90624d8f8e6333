#pragma once

#include <QByteArray>
#include <QString>

namespace kestrune {

// A file as an earlier commit held it, for the preview to show in place of the file on disk. The
// shell reads it from the project's history; the preview only shows it.
struct PreviewVersion
{
    static constexpr qsizetype shortCommitLength = 7;

    QString commit;  // the commit's full id
    QString day;     // the commit's day, as the program words days
    QString subject; // the commit message's first line
    QByteArray bytes;

    QString shortCommit() const { return commit.left(shortCommitLength); }
};

} // namespace kestrune
