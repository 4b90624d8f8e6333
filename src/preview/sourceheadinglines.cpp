#include "preview/sourceheadinglines.h"

#include "text/linebreaks.h"

#include <optional>

namespace kestrune {

namespace {

struct Fence
{
    QChar marker;
    qsizetype length = 0;
};

qsizetype runLength(QStringView text, QChar c)
{
    qsizetype length = 0;
    while (length < text.size() && text[length] == c)
        ++length;
    return length;
}

} // namespace

QList<int> SourceHeadingLines::find(QStringView text)
{
    QList<int> lines;
    std::optional<Fence> fence;
    int paragraphStart = -1; // the first line of the paragraph running, if one is
    int number = 0;
    for (QStringView rest = text; !rest.isNull(); ++number) {
        const qsizetype end = LineBreaks::lineEnd(rest, 0);
        const QStringView line = rest.first(end);
        rest = end == rest.size() ? QStringView() : rest.sliced(end + LineBreaks::lengthAt(rest, end));
        const QStringView inner = withoutContainers(line);
        const int indent = indentation(inner);
        const QStringView content = inner.trimmed();
        if (fence) {
            if (indent < 4 && runLength(content, fence->marker) >= fence->length &&
                content.sliced(runLength(content, fence->marker)).trimmed().isEmpty())
                fence.reset();
            continue;
        }
        if (content.isEmpty()) {
            paragraphStart = -1;
            continue;
        }
        if (indent >= 4 && paragraphStart < 0)
            continue; // indented code
        if (const QChar first = content.front();
            indent < 4 && (first == u'`' || first == u'~') && runLength(content, first) >= 3) {
            fence = Fence{first, runLength(content, first)};
            paragraphStart = -1;
            continue;
        }
        if (indent < 4 && paragraphStart >= 0 && isSetextUnderline(content)) {
            lines.append(paragraphStart);
            paragraphStart = -1;
            continue;
        }
        if (indent < 4 && isAtxHeading(content)) {
            lines.append(number);
            paragraphStart = -1;
            continue;
        }
        if (indent < 4 && isThematicBreak(content)) {
            paragraphStart = -1;
            continue;
        }
        if (paragraphStart < 0)
            paragraphStart = number;
    }
    return lines;
}

QStringView SourceHeadingLines::withoutContainers(QStringView line)
{
    for (;;) {
        const int indent = indentation(line);
        if (indent >= 4 || indent >= line.size())
            return line;
        const QStringView after = line.trimmed();
        if (after.front() == u'>') {
            line = after.sliced(1);
            if (line.startsWith(u' '))
                line = line.sliced(1);
            continue;
        }
        // A list item's marker, followed by a space: "-", "*", "+", or up to nine digits and "." or ")".
        qsizetype marker = 0;
        if (after.front() == u'-' || after.front() == u'*' || after.front() == u'+') {
            marker = 1;
        } else {
            while (marker < after.size() && marker < 9 && after[marker].isDigit())
                ++marker;
            if (marker == 0 || marker >= after.size() || (after[marker] != u'.' && after[marker] != u')'))
                return line;
            ++marker;
        }
        if (marker >= after.size() || after[marker] != u' ' || isThematicBreak(after.trimmed()))
            return line;
        line = after.sliced(marker + 1);
    }
}

int SourceHeadingLines::indentation(QStringView line)
{
    int columns = 0;
    for (const QChar c : line) {
        if (c == u' ')
            ++columns;
        else if (c == u'\t')
            columns += 4 - columns % 4;
        else
            break;
    }
    return columns;
}

bool SourceHeadingLines::isAtxHeading(QStringView content)
{
    const qsizetype hashes = runLength(content, u'#');
    return hashes >= 1 && hashes <= 6 &&
           (hashes == content.size() || content[hashes] == u' ' || content[hashes] == u'\t');
}

bool SourceHeadingLines::isSetextUnderline(QStringView content)
{
    const QChar first = content.front();
    return (first == u'=' || first == u'-') && content.sliced(runLength(content, first)).trimmed().isEmpty();
}

bool SourceHeadingLines::isThematicBreak(QStringView content)
{
    if (content.isEmpty())
        return false;
    const QChar first = content.front();
    if (first != u'-' && first != u'*' && first != u'_')
        return false;
    int count = 0;
    for (const QChar c : content) {
        if (c == first)
            ++count;
        else if (c != u' ' && c != u'\t')
            return false;
    }
    return count >= 3;
}

} // namespace kestrune
