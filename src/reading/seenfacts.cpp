#include "reading/seenfacts.h"

#include "project/changeanalysis.h"
#include "project/planningpath.h"
#include "project/specificationlinereader.h"
#include "reading/readingpaths.h"
#include "text/textlines.h"

namespace kestrune {

namespace {

bool holdsRequirements(QStringView relativePath)
{
    const std::optional<PlanningPath> path = ReadingPaths::planningPathOf(relativePath, false);
    return path && path->holdsRequirements();
}

} // namespace

bool SeenFacts::applyTo(QStringView relativePath)
{
    return ReadingPaths::isTaskList(relativePath) || holdsRequirements(relativePath);
}

SeenFacts SeenFacts::of(QStringView relativePath, QStringView text)
{
    SeenFacts facts;
    if (ReadingPaths::isTaskList(relativePath))
        facts.tasksDone = countTasksInText(text).done;
    else if (holdsRequirements(relativePath))
        facts.requirementNames = requirementNamesIn(text);
    return facts;
}

QStringList SeenFacts::requirementNamesIn(QStringView text)
{
    QStringList names;
    SpecificationLineReader reader;
    TextLines::forEachLine(text, [&](QStringView line) {
        if (const auto heading = reader.read(line))
            if (const auto name = SpecificationLineReader::requirementNameOf(*heading))
                names.append(name->toString());
    });
    return names;
}

} // namespace kestrune
