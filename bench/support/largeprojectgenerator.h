#pragma once

#include <QString>

namespace kestrune {

// Writes a large, realistic project folder for benchmarks: `changeCount` change folders (a fifth
// of them archived), each with a proposal, a design, a partly ticked task list and a delta
// specification, plus a catalogue of current specifications. Five Markdown files per change.
struct LargeProjectShape
{
    int changeCount = 2000;
    int specCount = 100;
};

// Returns the number of Markdown files written below `projectFolder`.
int generateLargeProject(const QString &projectFolder, const LargeProjectShape &shape = LargeProjectShape());

} // namespace kestrune
