#pragma once

#include <QList>
#include <QStringView>

namespace kestrune {

// The lines of a Markdown text that hold its headings, in reading order, counted from 0: an ATX
// heading's own line, the first line of a setext heading's text. Headings in quotes and list
// items count, those in code blocks do not, so the n-th line belongs to the n-th heading of
// HeadingOutline. The source view scrolls to a heading with it.
class SourceHeadingLines
{
public:
    static QList<int> find(QStringView text);

private:
    // The line without the markers of the quotes and the list item it is in.
    static QStringView withoutContainers(QStringView line);
    static int indentation(QStringView line);
    static bool isAtxHeading(QStringView content);
    static bool isSetextUnderline(QStringView content);
    static bool isThematicBreak(QStringView content);
};

} // namespace kestrune
