#pragma once

#include "project/filereaderror.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

namespace kestrune {

// Reads regular files of a project, whatever a repository puts in their place. A file is
// opened without blocking and read only when it is a regular file, so a named pipe or a device
// named like a document can stall nothing; memory stays bounded by the limit given, whatever
// size the file claims (a sparse file may claim terabytes).
class RegularFileReader
{
public:
    struct Content
    {
        QByteArray bytes;
        FileReadError error = FileReadError::none;
    };

    // Lines longer than this reach the visitor cut to this length: readers of project files
    // look at the beginnings of lines, and one endless line must not take unbounded memory.
    static constexpr qsizetype longestLine = 1 << 20;
    // Files larger than this are not read line by line either (tooLarge): a sparse file can
    // claim any size, and reading 64 GB of nothing would keep a scan busy for minutes.
    static constexpr qint64 largestLineFile = qint64(2) << 30;

    RegularFileReader() = delete;

    // The whole file, or tooLarge once it holds more than `maximumSize` bytes.
    static Content read(const QString &path, qint64 maximumSize);
    // Calls visit(line) for every line of the file's UTF-8 text (a leading byte-order mark
    // dropped), split as TextLines splits (a CR LF pair is one line end, across two blocks too),
    // reading a block at a time. Returns notUtf8 when any of the text is not valid UTF-8; the
    // lines visited until then are to be disregarded. Memory stays within a block and one line, whatever the
    // size.
    static FileReadError forEachLine(const QString &path, const std::function<void(QStringView)> &visit);
};

} // namespace kestrune
