#include "review/specificationdocument.h"

#include "project/specificationlinereader.h"
#include "text/headingidentifier.h"
#include "text/headingidentifiersequence.h"
#include "text/textlines.h"

#include <QHash>

namespace kestrune {

namespace {

SpecificationSectionKind sectionKindOf(QStringView title)
{
    const QString simplified = title.toString().simplified();
    if (simplified == QLatin1String("Requirements"))
        return SpecificationSectionKind::requirements;
    if (simplified == QLatin1String("ADDED Requirements"))
        return SpecificationSectionKind::added;
    if (simplified == QLatin1String("MODIFIED Requirements"))
        return SpecificationSectionKind::modified;
    if (simplified == QLatin1String("REMOVED Requirements"))
        return SpecificationSectionKind::removed;
    return SpecificationSectionKind::other;
}

bool isBlank(QStringView line)
{
    return TextLines::trimmed(line).isEmpty();
}

QString joinedLines(const QStringList &lines, LineRange range)
{
    QString text;
    for (qsizetype i = range.first; i < range.end(); ++i) {
        if (i > range.first)
            text += u'\n';
        text += lines.at(i);
    }
    return text;
}

// Builds the sections while the lines are read once, top to bottom.
class DocumentBuilder
{
public:
    explicit DocumentBuilder(SpecificationDocument &document) : m_document(document) {}

    void readLine(qsizetype index)
    {
        const QString &line = m_document.lines.at(index);
        const std::optional<SpecificationLineReader::Heading> heading = m_reader.read(line);
        // Every heading takes its identifier, so a requirement's is numbered as the preview
        // numbers it.
        const QString identifier = heading ? m_identifiers.next(HeadingIdentifier::of(line)) : QString();
        if (heading && heading->level == 2) {
            closeSection(index);
            SpecificationSection section;
            section.kind = sectionKindOf(heading->title);
            section.title = heading->title.toString();
            section.lines.first = index;
            m_document.sections.append(section);
            return;
        }
        if (m_document.sections.isEmpty())
            m_document.sections.append(
                SpecificationSection{SpecificationSectionKind::leading, {}, {0, 0}, {}});
        if (heading && heading->level <= 3) {
            closeRequirement(index);
            const std::optional<QStringView> name = SpecificationLineReader::requirementNameOf(*heading);
            if (name) {
                m_requirementName = name->toString();
                m_requirementIdentifier = identifier;
                m_requirementStart = index;
            }
        }
    }

    void finish() { closeSection(m_document.lines.size()); }

private:
    void closeRequirement(qsizetype end)
    {
        if (m_requirementStart < 0)
            return;
        while (end > m_requirementStart + 1 && isBlank(m_document.lines.at(end - 1)))
            --end;
        RequirementBlock block;
        block.name = std::move(m_requirementName);
        block.identifier = std::move(m_requirementIdentifier);
        block.lines = {m_requirementStart, end - m_requirementStart};
        block.text = joinedLines(m_document.lines, block.lines);
        m_document.sections.last().requirements.append(std::move(block));
        m_requirementStart = -1;
    }

    void closeSection(qsizetype end)
    {
        if (m_document.sections.isEmpty())
            return;
        closeRequirement(end);
        SpecificationSection &section = m_document.sections.last();
        section.lines.count = end - section.lines.first;
    }

    SpecificationDocument &m_document;
    SpecificationLineReader m_reader;
    HeadingIdentifierSequence m_identifiers;
    qsizetype m_requirementStart = -1;
    QString m_requirementName;
    QString m_requirementIdentifier;
};

} // namespace

QString RequirementBlock::body() const
{
    const QList<QStringView> blockLines = TextLines::splitLines(text);
    qsizetype first = 1;
    while (first < blockLines.size() && isBlank(blockLines.at(first)))
        ++first;
    QString result;
    for (qsizetype i = first; i < blockLines.size(); ++i) {
        if (i > first)
            result += u'\n';
        result += blockLines.at(i);
    }
    return result;
}

std::optional<DeltaSpecType> deltaTypeOf(SpecificationSectionKind kind)
{
    switch (kind) {
    case SpecificationSectionKind::added:
        return DeltaSpecType::added;
    case SpecificationSectionKind::modified:
        return DeltaSpecType::modified;
    case SpecificationSectionKind::removed:
        return DeltaSpecType::removed;
    case SpecificationSectionKind::leading:
    case SpecificationSectionKind::requirements:
    case SpecificationSectionKind::other:
        break;
    }
    return std::nullopt;
}

SpecificationDocument SpecificationDocument::parse(QStringView text)
{
    SpecificationDocument document;
    if (text.isEmpty())
        return document;
    const QList<QStringView> lines = TextLines::splitLines(text);
    document.lines.reserve(lines.size());
    for (QStringView line : lines)
        document.lines.append(line.toString());

    DocumentBuilder builder(document);
    for (qsizetype i = 0; i < document.lines.size(); ++i)
        builder.readLine(i);
    builder.finish();
    return document;
}

QString SpecificationDocument::requirementKey(QStringView name)
{
    return name.toString().simplified();
}

QStringList SpecificationDocument::duplicateNames() const
{
    QHash<QString, int> counts;
    QStringList order;
    for (const SpecificationSection &section : sections) {
        for (const RequirementBlock &requirement : section.requirements) {
            const QString key = requirementKey(requirement.name);
            if (++counts[key] == 2)
                order.append(key);
        }
    }
    return order;
}

} // namespace kestrune
