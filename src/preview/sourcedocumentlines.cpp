#include "preview/sourcedocumentlines.h"

#include "text/linebreaks.h"

#include <algorithm>

namespace kestrune {

bool SourceDocumentLines::wantsGrouping(QStringView text)
{
    int lines = 1;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (LineBreaks::endsLineAt(text, at) && ++lines > linesInOwnBlocks)
            return true;
    }
    return false;
}

QString SourceDocumentLines::take(QStringView slice)
{
    QString taken;
    taken.reserve(slice.size());
    qsizetype from = 0; // where the line being taken starts in the slice
    for (qsizetype at = 0; at < slice.size(); ++at) {
        if (!LineBreaks::endsLineAt(slice, at))
            continue;
        const qsizetype contentEnd = slice[at] == u'\n' && at > 0 && slice[at - 1] == u'\r' ? at - 1 : at;
        taken.append(slice.sliced(from, contentEnd - from));
        m_length += contentEnd - from + 1;
        from = at + 1;
        if (!m_grouped || m_linesInBlock >= linesPerBlock || m_length - m_blockStart > charactersPerBlock) {
            taken.append(u'\n');
            m_blockStart = m_length;
            m_linesInBlock = 1;
        } else {
            taken.append(QChar::LineSeparator);
            ++m_linesInBlock;
        }
        m_starts.push_back(m_length);
    }
    taken.append(slice.sliced(from));
    m_length += slice.size() - from;
    return taken;
}

qsizetype SourceDocumentLines::positionOfLine(int line) const
{
    return m_starts[size_t(std::clamp(line, 0, lineCount() - 1))];
}

int SourceDocumentLines::lineAt(qsizetype position) const
{
    const auto after = std::upper_bound(m_starts.cbegin(), m_starts.cend(), position);
    return std::max(0, int(after - m_starts.cbegin()) - 1);
}

} // namespace kestrune
