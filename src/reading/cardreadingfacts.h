#pragma once

#include "reading/readingmarks.h"
#include "reading/readingrecord.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace kestrune {

struct TreeNode;

// What a change's card says moved since the reader last looked.
struct ChangeReadingFacts
{
    QString relativePath; // of the change folder, to the project folder
    // The change did not exist at the last look: none of its files was seen.
    bool isNew = false;
    // Tasks done now less those done in the task list seen (never below 0); the tasks done now
    // when the change had no task list then.
    qint64 tasksDoneSinceLastLook = 0;

    friend bool operator==(const ChangeReadingFacts &, const ChangeReadingFacts &) = default;
};

// What a specification's card says moved since the reader last looked.
struct SpecificationReadingFacts
{
    QString relativePath; // of the specification's file
    // Its requirement headings differ from those seen (SpecificationLineReader's reading); also
    // set when the file is new or what it held then is not known.
    bool requirementsChanged = false;
    QStringList addedRequirements;
    QStringList removedRequirements;

    friend bool operator==(const SpecificationReadingFacts &, const SpecificationReadingFacts &) = default;
};

// The facts of the dashboard's cards for one outline, from its marks and the record they were
// computed against. Reads only task lists and specifications that changed. Off the window's
// thread, like the marks.
struct CardReadingFacts
{
    // Every change folder of the outline, by its relative path.
    QHash<QString, ChangeReadingFacts> changes;
    // Only the current specifications (a capability's own file) whose requirements changed.
    QHash<QString, SpecificationReadingFacts> specifications;

    static CardReadingFacts compute(const TreeNode &tree, const ReadingRecord &record,
                                    const ReadingMarks &marks);

    friend bool operator==(const CardReadingFacts &, const CardReadingFacts &) = default;
};

} // namespace kestrune
