#pragma once

#include <QChar>
#include <QStringView>

#include <optional>

namespace kestrune {

// How the lines of a specification read, one at a time from the top: its ATX headings ("## Title",
// "### Title ###", indented by any white space) and the lines of fenced code, which are text,
// headings among them. The one reading of a specification: the review's sections and
// requirements (SpecificationDocument), the dashboard's requirement counts and quick open's
// requirements all take their headings from it.
class SpecificationLineReader
{
public:
    struct Heading
    {
        qsizetype level = 0; // 1 to 6
        QStringView title;   // without its "#" marks, a closing sequence of them and outer white space
    };

    // The heading the next line is; nothing for a line of text or of fenced code.
    std::optional<Heading> read(QStringView line);
    // Reads the next line: whether it is a requirement's heading.
    bool readsRequirement(QStringView line);

    // The name of the requirement a heading opens: a level-3 heading titled "Requirement: NAME" or
    // "Requirement：NAME" (full-width colon), NAME without white space at its ends.
    static std::optional<QStringView> requirementNameOf(const Heading &heading);

private:
    // An open fenced code block: its mark ("`" or "~") and how many of them opened it.
    struct Fence
    {
        QChar mark;
        qsizetype length = 0;
    };

    static std::optional<Fence> fenceOpenedBy(QStringView line);
    static bool closesFence(QStringView line, const Fence &fence);
    static std::optional<Heading> headingOf(QStringView line);

    std::optional<Fence> m_fence;
};

} // namespace kestrune
