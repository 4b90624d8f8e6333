#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kestrune {

// A file as a commit holds it.
struct HistoricalFile
{
    QString path; // relative to the project folder, "/" between names
    QByteArray content;
};

// The files below the specifications folder (kestrune/specs) at one commit, in path order: the
// specifications a change can be reviewed against as they were then.
struct SpecificationSnapshot
{
    QString commit;
    QList<HistoricalFile> files;
    QStringList messages; // what could not be read; the files read are listed all the same
};

} // namespace kestrune
