#include "review/specificationdocument.h"

#include "text/textlines.h"

#include <QHash>

namespace kestrune {

namespace {

struct Heading
{
    qsizetype level = 0;
    QStringView title;
};

// An ATX heading ("## Title", "### Title ###"), indented by any white space.
std::optional<Heading> headingOf(QStringView line)
{
    const QStringView content = TextLines::trimmed(line);
    qsizetype level = 0;
    while (level < content.size() && content[level] == u'#')
        ++level;
    if (level == 0 || level > 6)
        return std::nullopt;
    QStringView title = content.sliced(level);
    if (!title.isEmpty() && !TextLines::isLineWhiteSpace(title[0]))
        return std::nullopt; // "#hashtag", "###Requirement"
    title = TextLines::trimmed(title);
    // A closing sequence of "#" marks is not part of the title, when white space precedes it.
    qsizetype end = title.size();
    while (end > 0 && title[end - 1] == u'#')
        --end;
    if (end == 0)
        title = {};
    else if (end < title.size() && TextLines::isLineWhiteSpace(title[end - 1]))
        title = TextLines::trimmed(title.first(end));
    return Heading{level, title};
}

// The name of a "Requirement:" or "Requirement：" heading title.
std::optional<QStringView> requirementNameOf(QStringView title)
{
    static const QString word = QStringLiteral("Requirement");
    if (!title.startsWith(word) || title.size() == word.size())
        return std::nullopt;
    const QChar colon = title[word.size()];
    if (colon != u':' && colon != u'\uFF1A')
        return std::nullopt;
    return TextLines::trimmed(title.sliced(word.size() + 1));
}

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

// An open fenced code block: its mark ("`" or "~") and how many of them opened it.
struct Fence
{
    QChar mark;
    qsizetype length = 0;
};

std::optional<Fence> fenceOpenedBy(QStringView line)
{
    const QStringView content = TextLines::trimmed(line);
    if (content.isEmpty() || (content[0] != u'`' && content[0] != u'~'))
        return std::nullopt;
    qsizetype length = 0;
    while (length < content.size() && content[length] == content[0])
        ++length;
    if (length < 3)
        return std::nullopt;
    return Fence{content[0], length};
}

bool closesFence(QStringView line, const Fence &fence)
{
    const QStringView content = TextLines::trimmed(line);
    if (content.size() < fence.length)
        return false;
    for (QChar c : content) {
        if (c != fence.mark)
            return false;
    }
    return true;
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
        if (m_fence) {
            if (closesFence(line, *m_fence))
                m_fence.reset();
            return;
        }
        m_fence = fenceOpenedBy(line);
        const std::optional<Heading> heading = m_fence ? std::nullopt : headingOf(line);
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
            const std::optional<QStringView> name =
                heading->level == 3 ? requirementNameOf(heading->title) : std::nullopt;
            if (name) {
                m_requirementName = name->toString();
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
    std::optional<Fence> m_fence;
    qsizetype m_requirementStart = -1;
    QString m_requirementName;
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
