#pragma once

#include "preview/markdownpreviewstate.h"

#include "markdown/document/blocknode.h"
#include "markdown/layout/document/preparedmarkdownpage.h"
#include "project/filereaderror.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kestrune {

// The background half of the preview's load: reads a whole file, decodes it as UTF-8 and says
// what the pane should show. Touches nothing shared, so it runs on any thread; the error
// messages are looked up by the caller beforehand.
class MarkdownFileReader
{
public:
    // What the pane says for each way a read can fail.
    struct ErrorMessages
    {
        QString notFound;
        QString permissionDenied;
        QString notRegularFile;
        QString tooLarge;
        QString notUtf8;
        QString other;
        QString outOfMemory; // read, but parsing it took more memory than there is

        const QString &forError(FileReadError error) const;
    };

    // A file read and, when it is to be rendered, parsed: all the work a document needs before
    // the window's thread lays it out.
    struct Document
    {
        MarkdownPreviewState state;
        std::optional<QList<BlockNode>> blocks; // the text parsed, unless it is longer than asked
        // The parsed text laid out as far as its first screen, when asked for.
        std::shared_ptr<PreparedMarkdownPage> page;
        // The bytes read, as on disk, for a text or an empty file: what the reader sees of it.
        QByteArray bytes;
    };

    // Larger files are not read: a document this long takes gigabytes to lay out.
    static constexpr qint64 largestFile = qint64(64) << 20;

    MarkdownFileReader() = delete;

    // The error state when the file cannot be read or is not UTF-8, the empty state when it
    // holds nothing but white space and line breaks, else its text unchanged. Only a regular
    // file is read, without blocking and at most largestFile bytes of it.
    static MarkdownPreviewState read(const QString &path, const ErrorMessages &messages);
    // Reads, then parses a text of at most `largestParsedText` characters. Parsing can take
    // seconds for inputs the parser handles in quadratic time, so it belongs off the window's
    // thread too.
    // With `page` settings, the parsed text is also laid out as far as its first screen, so that
    // the window's thread has no more to do than show it.
    static Document load(const QString &path, const ErrorMessages &messages, qsizetype largestParsedText,
                         const std::optional<PreparedMarkdownPage::Settings> &page = std::nullopt);
    // The same for bytes read elsewhere (a file as a commit holds it).
    static Document loadBytes(QByteArray bytes, const ErrorMessages &messages, qsizetype largestParsedText,
                              const std::optional<PreparedMarkdownPage::Settings> &page = std::nullopt);
    // Parses the text of a content state (and prepares its page with `page` settings); the error
    // state when memory runs out.
    static Document parse(MarkdownPreviewState state, const QString &outOfMemoryMessage,
                          const std::optional<PreparedMarkdownPage::Settings> &page = std::nullopt);
    static MarkdownPreviewState decode(QByteArrayView bytes, const QString &errorMessage);
};

} // namespace kestrune
