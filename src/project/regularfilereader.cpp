#include "project/regularfilereader.h"

#include "project/longpath.h"
#include "text/linebreaks.h"
#include "text/nativepath.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {

namespace {

constexpr qsizetype blockSize = 64 * 1024;

FileReadError errorOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileReadError::notFound;
    case EACCES:
    case EPERM:
        return FileReadError::permissionDenied;
    case EISDIR:
        return FileReadError::notRegularFile;
    default:
        return FileReadError::other;
    }
}

// An open regular file, closed on every path out of a function.
class OpenFile
{
public:
    explicit OpenFile(const QString &path)
    {
        const LongPath native(NativePath::encode(path)); // of any length
        if (native.error() != 0) {
            m_error = errorOf(native.error());
            return;
        }
        // Non-blocking: opening a named pipe without a writer would otherwise wait for one.
        m_fd = ::openat(native.folder(), native.rest(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (m_fd < 0) {
            m_error = errorOf(errno);
            return;
        }
        if (::fstat(m_fd, &m_status) != 0)
            m_error = errorOf(errno);
        else if (!S_ISREG(m_status.st_mode))
            m_error = FileReadError::notRegularFile;
    }
    ~OpenFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;

    FileReadError error() const { return m_error; }
    qint64 claimedSize() const { return qint64(m_status.st_size); }

    // Up to `size` bytes into `data`; 0 at the end, -1 after a failure (error() says which).
    qsizetype read(char *data, qsizetype size)
    {
        for (;;) {
            const ssize_t count = ::read(m_fd, data, size_t(size));
            if (count >= 0)
                return qsizetype(count);
            if (errno == EINTR)
                continue;
            m_error = errorOf(errno);
            return -1;
        }
    }

private:
    int m_fd = -1;
    struct stat m_status = {};
    FileReadError m_error = FileReadError::none;
};

// Whether the bytes end inside a multi-byte UTF-8 sequence.
bool endsInPartialSequence(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= std::min<qsizetype>(4, bytes.size()); ++back) {
        const auto byte = quint8(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead byte
        const qsizetype length = (byte & 0xE0) == 0xC0   ? 2
                                 : (byte & 0xF0) == 0xE0 ? 3
                                 : (byte & 0xF8) == 0xF0 ? 4
                                                         : 1;
        return back < length;
    }
    return false;
}

// The last (up to) four bytes of a stream, kept without allocating.
class TrailingBytes
{
public:
    void append(QByteArrayView bytes)
    {
        for (const char byte : bytes.last(std::min<qsizetype>(4, bytes.size()))) {
            if (m_size == 4)
                std::memmove(m_bytes, m_bytes + 1, --m_size);
            m_bytes[m_size++] = byte;
        }
    }
    QByteArrayView view() const { return QByteArrayView(m_bytes, m_size); }

private:
    char m_bytes[4] = {};
    qsizetype m_size = 0;
};

} // namespace

RegularFileReader::Content RegularFileReader::read(const QString &path, qint64 maximumSize)
{
    OpenFile file(path);
    if (file.error() != FileReadError::none)
        return {{}, file.error()};
    if (file.claimedSize() > maximumSize)
        return {{}, FileReadError::tooLarge};

    // The claimed size is a hint only: the file may grow or shrink while it is read.
    QByteArray content(qsizetype(std::clamp<qint64>(file.claimedSize(), 0, maximumSize)) + 1,
                       Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == content.size()) {
            if (filled > maximumSize)
                return {{}, FileReadError::tooLarge};
            content.resize(qsizetype(std::min<qint64>(qint64(content.size()) * 2, maximumSize + 1)));
        }
        const qsizetype count = file.read(content.data() + filled, content.size() - filled);
        if (count < 0)
            return {{}, file.error()};
        if (count == 0)
            break;
        filled += count;
    }
    if (filled > maximumSize)
        return {{}, FileReadError::tooLarge};
    content.truncate(filled);
    return {content, FileReadError::none};
}

FileReadError RegularFileReader::forEachLine(const QString &path,
                                             const std::function<void(QStringView)> &visit)
{
    OpenFile file(path);
    if (file.error() != FileReadError::none)
        return file.error();
    if (file.claimedSize() > largestLineFile)
        return FileReadError::tooLarge;

    QStringDecoder decoder(QStringDecoder::Utf8);
    qint64 total = 0;
    QByteArray block(blockSize, Qt::Uninitialized);
    // Each block is decoded into the same buffer, sized at first for the block read: most files
    // fit in one.
    QString text;
    // The part of a line begun in an earlier block, at most longestLine long. Lines that lie
    // within one block reach the visitor straight from the decoded text.
    QString line;
    bool lineCut = false;
    // Whether the last character decoded was a carriage return: a line feed right after it, in
    // the next block too, ends no other line.
    bool afterCarriageReturn = false;
    TrailingBytes tail; // the last bytes read, to tell a sequence cut off by the end of the file
    for (;;) {
        const qsizetype count = file.read(block.data(), block.size());
        if (count < 0)
            return file.error();
        total += count;
        if (total > largestLineFile)
            return FileReadError::tooLarge;
        const QByteArrayView bytes(block.constData(), count);
        tail.append(bytes);
        if (const qsizetype needed = decoder.requiredSpace(count); text.size() < needed)
            text = QString(needed, Qt::Uninitialized);
        const QChar *decodedEnd = decoder.appendToBuffer(text.data(), bytes);
        if (decoder.hasError())
            return FileReadError::notUtf8;
        const QStringView decoded(text.constData(), decodedEnd - text.constData());
        qsizetype start = 0;
        for (qsizetype i = 0; i < decoded.size(); ++i) {
            const QChar c = decoded[i];
            if (!LineBreaks::isLineBreak(c))
                continue;
            const bool secondOfPair = c == u'\n' && (i > 0 ? decoded[i - 1] == u'\r' : afterCarriageReturn);
            if (secondOfPair) {
                start = i + 1;
                continue;
            }
            const QStringView piece = decoded.sliced(start, i - start);
            if (line.isEmpty()) {
                visit(piece.first(std::min(piece.size(), longestLine)));
            } else {
                if (!lineCut)
                    line += piece.first(std::min(piece.size(), longestLine - line.size()));
                visit(line);
                line.clear();
                lineCut = false;
            }
            start = i + 1;
        }
        if (!decoded.isEmpty())
            afterCarriageReturn = decoded.back() == u'\r';
        if (!lineCut) {
            line += decoded.sliced(start, std::min(decoded.size() - start, longestLine - line.size()));
            lineCut = line.size() >= longestLine;
        }
        if (count == 0)
            break;
    }
    // A sequence cut off at the end of the file is not valid UTF-8 either.
    if (endsInPartialSequence(tail.view()))
        return FileReadError::notUtf8;
    visit(line);
    return FileReadError::none;
}

} // namespace kestrune
