#include "preview/markdownfilereader.h"

#include "markdown/document/markdownparser.h"
#include "project/regularfilereader.h"

#include <QStringDecoder>

#include <algorithm>
#include <new>

namespace kestrune {

const QString &MarkdownFileReader::ErrorMessages::forError(FileReadError error) const
{
    switch (error) {
    case FileReadError::notFound:
        return notFound;
    case FileReadError::permissionDenied:
        return permissionDenied;
    case FileReadError::notRegularFile:
        return notRegularFile;
    case FileReadError::tooLarge:
        return tooLarge;
    case FileReadError::notUtf8:
        return notUtf8;
    case FileReadError::none:
    case FileReadError::other:
        break;
    }
    return other;
}

MarkdownPreviewState MarkdownFileReader::read(const QString &path, const ErrorMessages &messages)
{
    if (path.isEmpty())
        return MarkdownPreviewState::error(messages.notFound);
    const RegularFileReader::Content content = RegularFileReader::read(path, largestFile);
    if (content.error != FileReadError::none)
        return MarkdownPreviewState::error(messages.forError(content.error));
    return decode(content.bytes, messages.notUtf8);
}

MarkdownFileReader::Document
MarkdownFileReader::load(const QString &path, const ErrorMessages &messages, qsizetype largestParsedText,
                         const std::optional<PreparedMarkdownPage::Settings> &page)
{
    if (path.isEmpty())
        return {MarkdownPreviewState::error(messages.notFound), std::nullopt, nullptr, {}};
    RegularFileReader::Content content = RegularFileReader::read(path, largestFile);
    if (content.error != FileReadError::none)
        return {MarkdownPreviewState::error(messages.forError(content.error)), std::nullopt, nullptr, {}};
    return loadBytes(std::move(content.bytes), messages, largestParsedText, page);
}

MarkdownFileReader::Document
MarkdownFileReader::loadBytes(QByteArray content, const ErrorMessages &messages, qsizetype largestParsedText,
                              const std::optional<PreparedMarkdownPage::Settings> &page)
{
    MarkdownPreviewState state = decode(content, messages.notUtf8);
    QByteArray bytes = state.kind() == MarkdownPreviewState::Kind::error ? QByteArray() : std::move(content);
    if (!state.isContent() || state.text().size() > largestParsedText)
        return {std::move(state), std::nullopt, nullptr, std::move(bytes)};
    Document document = parse(std::move(state), messages.outOfMemory, page);
    document.bytes = std::move(bytes);
    return document;
}

MarkdownFileReader::Document
MarkdownFileReader::parse(MarkdownPreviewState state, const QString &outOfMemoryMessage,
                          const std::optional<PreparedMarkdownPage::Settings> &page)
{
    try {
        QList<BlockNode> blocks = MarkdownParser::parse(state.text());
        std::shared_ptr<PreparedMarkdownPage> prepared;
        if (page)
            prepared = std::make_shared<PreparedMarkdownPage>(PreparedMarkdownPage::prepare(*page, blocks));
        return {std::move(state), std::move(blocks), std::move(prepared), {}};
    } catch (const std::bad_alloc &) {
        return {MarkdownPreviewState::error(outOfMemoryMessage), std::nullopt, nullptr, {}};
    }
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
