#include "text/textlines.h"

#include <QStringDecoder>

namespace kestrune {

namespace TextLines {

std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool isLineWhiteSpace(QChar c)
{
    const char16_t u = c.unicode();
    if (u == u'\t' || u == u' ')
        return true;
    if (u < 0x80)
        return false;
    return c.category() == QChar::Separator_Space;
}

QStringView trimmed(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isLineWhiteSpace(line[begin]))
        ++begin;
    while (end > begin && isLineWhiteSpace(line[end - 1]))
        --end;
    return line.sliced(begin, end - begin);
}

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (!LineBreaks::isLineBreak(text[i]))
            continue;
        lines.append(text.sliced(start, i - start));
        i += LineBreaks::lengthAt(text, i) - 1;
        start = i + 1;
    }
    lines.append(text.sliced(start));
    return lines;
}

} // namespace TextLines

} // namespace kestrune
