#include "preview/markdownfilereader.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace kestrune {

MarkdownPreviewState MarkdownFileReader::read(const QString &path, const QString &errorMessage)
{
    QFile file(path);
    // Opening a folder fails too.
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return MarkdownPreviewState::error(errorMessage);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return MarkdownPreviewState::error(errorMessage);
    return decode(bytes, errorMessage);
}

MarkdownPreviewState MarkdownFileReader::decode(QByteArrayView bytes, const QString &errorMessage)
{
    // Stateless, so a sequence cut off at the end of the file counts as invalid instead of
    // being held back for more input. A leading byte-order mark is dropped.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return MarkdownPreviewState::error(errorMessage);
    // White space in the wide sense: tabs, line breaks and every Unicode separator.
    const bool blank = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
    if (blank)
        return MarkdownPreviewState::empty();
    return MarkdownPreviewState::content(std::move(text));
}

} // namespace kestrune
