#pragma once

#include <QDateTime>
#include <QString>

namespace kestrune {

// A commit whose specifications a change can be reviewed against, as the review page offers it:
// the shell reads them from the project's history and hands them over as plain values.
struct ReviewBaseline
{
    QString commit; // 40 hexadecimal digits
    QDateTime time;
    QString subject;
    // The commit the change was proposed on: the parent of the change's first commit.
    bool beforeChange = false;

    // "2026-03-02 · 1a2b3c4 · Propose tagging", with the date in the user's locale.
    QString description() const;
};

} // namespace kestrune
