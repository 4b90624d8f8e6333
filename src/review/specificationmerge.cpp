#include "review/specificationmerge.h"

#include "text/textlines.h"

#include <QHash>
#include <QSet>

namespace kestrune {

namespace {

bool isBlank(QStringView line)
{
    return TextLines::trimmed(line).isEmpty();
}

// The entries of a delta specification by kind; the first entry of a name counts.
struct DeltaEntries
{
    QHash<QString, const RequirementBlock *> modified;
    QHash<QString, const RequirementBlock *> removed;
    QList<const RequirementBlock *> added;

    explicit DeltaEntries(const SpecificationDocument &delta)
    {
        for (const SpecificationSection &section : delta.sections) {
            const std::optional<DeltaSpecType> kind = deltaTypeOf(section.kind);
            for (const RequirementBlock &block : section.requirements) {
                const QString key = SpecificationDocument::requirementKey(block.name);
                if (kind == DeltaSpecType::added)
                    added.append(&block);
                else if (kind == DeltaSpecType::modified)
                    modified.insert(key, modified.value(key, &block));
                else if (kind == DeltaSpecType::removed)
                    removed.insert(key, removed.value(key, &block));
            }
        }
    }
};

// Writes the merged lines. A requirement put in or taken out leaves a blank line between what
// comes before and after it; one replaced keeps the spacing it had.
class MergeWriter
{
public:
    void line(const QString &text)
    {
        if (!isBlank(text))
            separate();
        m_needsBlank = false;
        m_lines.append(text);
    }

    void block(const RequirementBlock &requirement, DeltaSpecType kind, bool keepPlace)
    {
        if (keepPlace)
            separate();
        else if (!m_lines.isEmpty() && !isBlank(m_lines.last()))
            m_lines.append(QString());
        const QList<QStringView> lines = TextLines::splitLines(requirement.text);
        m_requirements.append({requirement.name, kind, {m_lines.size(), lines.size()}});
        for (QStringView text : lines)
            m_lines.append(text.toString());
        m_needsBlank = !keepPlace;
    }

    void removed(const RequirementBlock &requirement)
    {
        m_requirements.append({requirement.name, DeltaSpecType::removed, {m_lines.size(), 0}});
        m_needsBlank = true;
    }

    void section(const QString &heading)
    {
        while (!m_lines.isEmpty() && isBlank(m_lines.last()))
            m_lines.removeLast();
        if (!m_lines.isEmpty())
            m_lines.append(QString());
        m_lines.append(heading);
        m_needsBlank = true;
    }

    SpecificationMerge finish()
    {
        while (!m_lines.isEmpty() && isBlank(m_lines.last()))
            m_lines.removeLast();
        SpecificationMerge merge;
        if (!m_lines.isEmpty())
            merge.text = m_lines.join(u'\n') + u'\n';
        merge.requirements = std::move(m_requirements);
        return merge;
    }

private:
    void separate()
    {
        if (m_needsBlank && !m_lines.isEmpty() && !isBlank(m_lines.last()))
            m_lines.append(QString());
        m_needsBlank = false;
    }

    QStringList m_lines;
    QList<MergedRequirement> m_requirements;
    bool m_needsBlank = false;
};

} // namespace

SpecificationMerge SpecificationMerge::apply(const std::optional<SpecificationDocument> &specification,
                                             const SpecificationDocument &delta)
{
    const DeltaEntries entries(delta);
    const SpecificationDocument empty;
    const SpecificationDocument &current = specification ? *specification : empty;

    // The requirements of the specification by their first line, and where ADDED ones go.
    QHash<qsizetype, const RequirementBlock *> blockAt;
    qsizetype insertAt = -1;
    for (const SpecificationSection &section : current.sections) {
        if (deltaTypeOf(section.kind))
            continue;
        for (const RequirementBlock &block : section.requirements)
            blockAt.insert(block.lines.first, &block);
        if (section.kind == SpecificationSectionKind::requirements && insertAt < 0) {
            insertAt = section.lines.end();
            while (insertAt > section.lines.first + 1 && isBlank(current.lines.at(insertAt - 1)))
                --insertAt;
            if (!section.requirements.isEmpty())
                insertAt = section.requirements.last().lines.end();
        }
    }

    MergeWriter writer;
    bool addedWritten = false;
    const auto writeAdded = [&] {
        for (const RequirementBlock *block : entries.added)
            writer.block(*block, DeltaSpecType::added, false);
        addedWritten = true;
    };
    QSet<QString> applied; // only the first requirement of a name is replaced or removed
    qsizetype i = 0;
    while (i <= current.lines.size()) {
        if (!addedWritten && insertAt >= 0 && i >= insertAt)
            writeAdded();
        if (i == current.lines.size())
            break;
        const RequirementBlock *block = blockAt.value(i);
        const QString key = block ? SpecificationDocument::requirementKey(block->name) : QString();
        if (block && !applied.contains(key) && entries.removed.contains(key)) {
            applied.insert(key);
            writer.removed(*block);
            i = block->lines.end();
            while (i < current.lines.size() && isBlank(current.lines.at(i)))
                ++i;
            continue;
        }
        if (block && !applied.contains(key) && entries.modified.contains(key)) {
            applied.insert(key);
            writer.block(*entries.modified.value(key), DeltaSpecType::modified, true);
            i = block->lines.end();
            continue;
        }
        writer.line(current.lines.at(i));
        ++i;
    }
    if (!addedWritten && !entries.added.isEmpty()) {
        writer.section(QStringLiteral("## Requirements"));
        writeAdded();
    }
    return writer.finish();
}

} // namespace kestrune
