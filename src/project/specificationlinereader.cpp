#include "project/specificationlinereader.h"

#include "text/textlines.h"

#include <QString>

namespace kestrune {

std::optional<SpecificationLineReader::Heading> SpecificationLineReader::read(QStringView line)
{
    if (m_fence) {
        if (closesFence(line, *m_fence))
            m_fence.reset();
        return std::nullopt;
    }
    m_fence = fenceOpenedBy(line);
    return m_fence ? std::nullopt : headingOf(line);
}

std::optional<QStringView> SpecificationLineReader::requirementNameOf(const Heading &heading)
{
    static const QString word = QStringLiteral("Requirement");
    const QStringView title = heading.title;
    if (heading.level != 3 || !title.startsWith(word) || title.size() == word.size())
        return std::nullopt;
    const QChar colon = title[word.size()];
    if (colon != u':' && colon != u'\uFF1A')
        return std::nullopt;
    return TextLines::trimmed(title.sliced(word.size() + 1));
}

bool SpecificationLineReader::readsRequirement(QStringView line)
{
    const std::optional<Heading> heading = read(line);
    return heading && requirementNameOf(*heading);
}

std::optional<SpecificationLineReader::Fence> SpecificationLineReader::fenceOpenedBy(QStringView line)
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

bool SpecificationLineReader::closesFence(QStringView line, const Fence &fence)
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

std::optional<SpecificationLineReader::Heading> SpecificationLineReader::headingOf(QStringView line)
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

} // namespace kestrune
