#include "largeprojectgenerator.h"

#include <QDir>
#include <QFile>

namespace kestrune {

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(content);
}

QByteArray paragraph(int seed)
{
    return "The service SHALL keep note " + QByteArray::number(seed) +
           " consistent across devices, and it MUST reject edits that arrive after the note was "
           "deleted. Clients retry with exponential back-off and surface the conflict to the user.\n\n";
}

QByteArray taskList(int seed)
{
    QByteArray text = "# Tasks\n\n## 1. Implementation\n\n";
    for (int i = 0; i < 12; ++i)
        text += (i < seed % 13 ? "- [x] 1." : "- [ ] 1.") + QByteArray::number(i + 1) + " Implement step " +
                QByteArray::number(i + 1) + " of the change\n";
    return text;
}

QByteArray deltaSpec(int seed)
{
    static const char *headings[] = {"## ADDED Requirements", "## MODIFIED Requirements",
                                     "## REMOVED Requirements"};
    QByteArray text =
        "# Delta for capability " + QByteArray::number(seed) + "\n\n" + headings[seed % 3] + "\n\n";
    for (int i = 0; i < 4; ++i)
        text += "### Requirement: Behaviour " + QByteArray::number(i) + "\n\n" + paragraph(seed + i) +
                "#### Scenario: Happy path\n- **WHEN** a user saves\n- **THEN** the note is stored\n\n";
    return text;
}

} // namespace

int generateLargeProject(const QString &projectFolder, const LargeProjectShape &shape)
{
    const QString kestrune = projectFolder + QStringLiteral("/kestrune");
    int files = 0;
    for (int i = 0; i < shape.changeCount; ++i) {
        const bool archived = i % 5 == 0;
        const QString name =
            QStringLiteral("change-%1-update-sync-%2").arg(i, 4, 10, QLatin1Char('0')).arg(i % 37);
        const QString folder =
            kestrune +
            (archived ? QStringLiteral("/changes/archive/2025-01-01-") : QStringLiteral("/changes/")) + name;
        QDir().mkpath(folder + QStringLiteral("/specs/capability"));
        writeFile(folder + QStringLiteral("/proposal.md"),
                  "# Proposal\n\n## Why\n\n" + paragraph(i) + paragraph(i + 1));
        writeFile(folder + QStringLiteral("/design.md"),
                  "# Design\n\n## Decisions\n\n" + paragraph(i) + paragraph(i + 2));
        writeFile(folder + QStringLiteral("/tasks.md"), taskList(i));
        writeFile(folder + QStringLiteral("/specs/capability/spec.md"), deltaSpec(i));
        files += 4;
    }
    for (int i = 0; i < shape.specCount; ++i) {
        const QString folder = kestrune + QStringLiteral("/specs/capability-%1").arg(i);
        QDir().mkpath(folder);
        QByteArray text = "# Capability " + QByteArray::number(i) + "\n\n## Requirements\n\n";
        for (int r = 0; r < 8; ++r)
            text += "### Requirement: Rule " + QByteArray::number(r) + "\n\n" + paragraph(r);
        writeFile(folder + QStringLiteral("/spec.md"), text);
        ++files;
    }
    // Filler documents so that the project holds about five Markdown files per change.
    const int filler = shape.changeCount * 5 - files;
    for (int i = 0; i < filler; ++i) {
        const QString folder = kestrune + QStringLiteral("/notes/area-%1").arg(i / 50);
        QDir().mkpath(folder);
        writeFile(folder + QStringLiteral("/note-%1.md").arg(i), "# Note\n\n" + paragraph(i));
        ++files;
    }
    return files;
}

} // namespace kestrune
