#include "largechangegenerator.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrune {

namespace {

constexpr int capabilityCount = 20;
constexpr int requirementCount = 50;

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(content);
}

// A requirement of about 700 bytes: a paragraph and two scenarios. `revision` 1 changes a few
// words of the paragraph and of the second scenario, as a MODIFIED entry would.
QByteArray requirement(int capability, int index, int revision)
{
    const QByteArray n = QByteArray::number(index);
    const QByteArray limit = revision ? "15 seconds" : "10 seconds";
    QByteArray text =
        "### Requirement: Behaviour " + n + " of capability " + QByteArray::number(capability) + "\n";
    text += "The service SHALL keep item " + n + " consistent across devices within " + limit +
            ", and it MUST reject edits that arrive\nafter the item was deleted. Clients retry with "
            "exponential back-off and surface the conflict to the user,\nwho can keep either version "
            "or both of them side by side.\n\n";
    text += "#### Scenario: Saving on two devices\n- **WHEN** item " + n +
            " is edited on a laptop and a phone at once\n- **THEN** both edits are kept and the later "
            "one is shown\n\n";
    text += "#### Scenario: Editing a deleted item\n- **WHEN** item " + n +
            " was deleted on another device\n" +
            (revision ? "- **THEN** the edit is refused with \"Deleted elsewhere\" and kept as a draft\n"
                      : "- **THEN** the edit is refused with \"Deleted elsewhere\"\n");
    return text + "\n";
}

QByteArray specification(int capability)
{
    QByteArray text = "# Capability " + QByteArray::number(capability) +
                      "\n\n## Purpose\n\nWhat this capability covers.\n\n## Requirements\n\n";
    for (int i = 0; i < requirementCount; ++i)
        text += requirement(capability, i, 0);
    return text;
}

// Modifies requirements 0-39, removes 40-44 and adds 50-54.
QByteArray delta(int capability)
{
    QByteArray text = "## MODIFIED Requirements\n\n";
    for (int i = 0; i < 40; ++i)
        text += requirement(capability, i, 1);
    text += "## REMOVED Requirements\n\n";
    for (int i = 40; i < 45; ++i)
        text += "### Requirement: Behaviour " + QByteArray::number(i) + " of capability " +
                QByteArray::number(capability) + "\n\n**Reason**: replaced.\n\n";
    text += "## ADDED Requirements\n\n";
    for (int i = 50; i < 55; ++i)
        text += requirement(capability, i, 0);
    return text;
}

} // namespace

qint64 writeLargeChange(const QString &project)
{
    qint64 bytes = 0;
    for (int c = 0; c < capabilityCount; ++c) {
        const QString name = QStringLiteral("capability-%1").arg(c, 2, 10, QLatin1Char('0'));
        const QByteArray current = specification(c);
        const QByteArray proposed = delta(c);
        writeFile(project + QStringLiteral("/kestrune/specs/") + name + QStringLiteral("/spec.md"), current);
        writeFile(project + QStringLiteral("/kestrune/changes/big-change/specs/") + name +
                      QStringLiteral("/spec.md"),
                  proposed);
        bytes += current.size() + proposed.size();
    }
    return bytes;
}

} // namespace kestrune
