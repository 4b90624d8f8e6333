#include "text/linebreaks.h"

#include <algorithm>

namespace kestrune {

namespace LineBreaks {

qsizetype lengthAt(QStringView text, qsizetype position)
{
    if (position < 0 || position >= text.size())
        return 0;
    if (text[position] == u'\n')
        return 1;
    if (text[position] != u'\r')
        return 0;
    return position + 1 < text.size() && text[position + 1] == u'\n' ? 2 : 1;
}

qsizetype lineStart(QStringView text, qsizetype position)
{
    qsizetype at = std::min(position, text.size());
    while (at > 0 && !isLineBreak(text[at - 1]))
        --at;
    return at;
}

qsizetype lineEnd(QStringView text, qsizetype position)
{
    qsizetype at = std::max<qsizetype>(position, 0);
    while (at < text.size() && !isLineBreak(text[at]))
        ++at;
    return at;
}

int count(QStringView text)
{
    int lines = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (endsLineAt(text, at))
            ++lines;
    }
    return lines;
}

qsizetype offsetOfLine(QStringView text, int line)
{
    qsizetype at = 0;
    for (int current = 0; current < line && at < text.size(); ++current) {
        at = lineEnd(text, at);
        at += std::max<qsizetype>(1, lengthAt(text, at));
    }
    return std::min(at, text.size());
}

} // namespace LineBreaks

} // namespace kestrune
