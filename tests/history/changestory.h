#pragma once

#include "testrepository.h"

#include <QByteArray>
#include <QString>

namespace kestrune {

// One change's life in a repository, with another change's commits in between: proposed,
// edited, three tasks ticked one commit at a time, and archived. `prefix` is the project
// folder's path in the work tree ("" or "a/b/").
struct ChangeStory
{
    QString proposed;
    QString edited;
    QString ticked[3];
    QString archived;
    QString other; // a commit of another change only

    static constexpr const char *change = "add-tagging";
    static constexpr const char *archiveFolder = "2026-03-02-add-tagging";

    static ChangeStory write(TestRepository &repository, const QByteArray &prefix = QByteArray());
};

} // namespace kestrune
