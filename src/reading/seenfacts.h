#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace kestrune {

// What a change's or a specification's card tells about a file, read from its text: the tasks
// done of a change's task list (the project's task counting) and the requirement names of a file
// holding requirements (SpecificationLineReader's reading). Kept with each seen file, so the
// cards compare with what was seen without its text.
struct SeenFacts
{
    std::optional<qint64> tasksDone;
    std::optional<QStringList> requirementNames;

    // The facts of the file at `relativePath` (to the project folder); none for other files.
    static SeenFacts of(QStringView relativePath, QStringView text);
    // Whether a file at that path has facts at all (so that other files are never decoded).
    static bool applyTo(QStringView relativePath);
    static QStringList requirementNamesIn(QStringView text);

    friend bool operator==(const SeenFacts &, const SeenFacts &) = default;
};

} // namespace kestrune
