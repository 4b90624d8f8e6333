// Reading project files whatever a repository puts in their place: streamed lines equal the
// whole text's lines across block boundaries, invalid text is refused, special files are never
// opened for reading, and memory stays bounded for huge and sparse files.
#include "project/regularfilereader.h"
#include "text/textlines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace kestrune;

namespace {

QStringList streamedLines(const QString &path, FileReadError *error = nullptr)
{
    QStringList lines;
    const FileReadError result =
        RegularFileReader::forEachLine(path, [&lines](QStringView line) { lines.append(line.toString()); });
    if (error)
        *error = result;
    return lines;
}

QStringList wholeTextLines(const QByteArray &bytes)
{
    QStringList lines;
    TextLines::forEachLine(*TextLines::decodeUtf8(bytes),
                           [&lines](QStringView line) { lines.append(line.toString()); });
    return lines;
}

} // namespace

class TestRegularFileReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        file.write(bytes);
        return path;
    }

private Q_SLOTS:
    void streamedLinesEqualTheWholeText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // A block is 64 KiB: put every kind of character and line break across its boundary.
        const auto across = [](const QByteArray &piece) {
            return QByteArray(65536 - 1, 'a') + piece + QByteArray("\nend");
        };
        QTest::addRow("two-byte character") << across("\xc3\xa4");
        QTest::addRow("three-byte character") << across("\xe2\x82\xac");
        QTest::addRow("four-byte character") << across("\xf0\x9f\x8c\x99");
        QTest::addRow("CR LF") << across("\r\n");
        QTest::addRow("line separator") << across("\xe2\x80\xa8");
        QTest::addRow("byte-order mark dropped") << QByteArray("\xef\xbb\xbf- [x] a\n- [ ] b");
        QTest::addRow("no final line break") << QByteArray("one\ntwo");
        QTest::addRow("empty file") << QByteArray();
        QByteArray tasks;
        for (int i = 0; i < 20000; ++i)
            tasks += i % 3 ? "- [ ] open task with \xc3\xa4 text\n" : "  - [x] done \xe2\x82\xac\r\n";
        QTest::addRow("many blocks of tasks") << tasks;
    }

    void streamedLinesEqualTheWholeText()
    {
        QFETCH(QByteArray, bytes);
        FileReadError error = FileReadError::other;
        const QStringList lines = streamedLines(write(QStringLiteral("text.md"), bytes), &error);
        QCOMPARE(error, FileReadError::none);
        QCOMPARE(lines, wholeTextLines(bytes));
    }

    // A CR LF pair ends one line, also when a block ends between its two characters, and a
    // lone carriage return ends one too.
    void lineEndsOfAnySystem()
    {
        // A block is 64 KiB: the carriage return after the filler is its last character.
        const QByteArray filler(65536 - 4, 'a');
        const QStringList lines = streamedLines(
            write(QStringLiteral("windows.md"), "x\r\n" + filler + "\r\ny\rz\r\n\r\nend\xe2\x80\xa8"));
        QCOMPARE(lines, QStringList({"x", QString::fromLatin1(filler), "y", "z", "", "end\u2028"}));
    }

    void invalidTextIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("Latin-1 byte after the first block") << QByteArray(100000, 'a') + "caf\xe9\n";
        QTest::addRow("sequence cut off at the end") << QByteArray("price \xe2\x82");
        QTest::addRow("sequence cut off at a block's end") << QByteArray(65536 - 1, 'a') + QByteArray("\xe2");
        QTest::addRow("encoded surrogate") << QByteArray("\xed\xa0\x80");
    }

    void invalidTextIsRefused()
    {
        QFETCH(QByteArray, bytes);
        FileReadError error = FileReadError::none;
        streamedLines(write(QStringLiteral("bad.md"), bytes), &error);
        QCOMPARE(error, FileReadError::notUtf8);
    }

    // A named pipe, a device, a folder or a missing file is refused at once: none of them
    // may block the reader or feed it without end.
    void onlyRegularFilesAreRead()
    {
        const QString fifo = m_dir.filePath(QStringLiteral("pipe.md"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString zero = m_dir.filePath(QStringLiteral("zero.md"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
        const QString folder = m_dir.filePath(QStringLiteral("folder.md"));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.md")));
        for (const QString &path : {fifo, zero, folder}) {
            FileReadError error = FileReadError::none;
            streamedLines(path, &error);
            QCOMPARE(error, FileReadError::notRegularFile);
            QCOMPARE(RegularFileReader::read(path, 1 << 20).error, FileReadError::notRegularFile);
        }
        const QString missing = m_dir.filePath(QStringLiteral("missing.md"));
        QCOMPARE(RegularFileReader::read(missing, 1 << 20).error, FileReadError::notFound);

        if (::geteuid() != 0) { // permissions do not hold the superuser back
            const QString locked = write(QStringLiteral("locked.md"), "text");
            QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
            QCOMPARE(RegularFileReader::read(locked, 1 << 20).error, FileReadError::permissionDenied);
        }
    }

    void sizeLimitsBoundMemory()
    {
        // A sparse file claiming 64 GiB is refused from its claimed size, before any read.
        const QString sparse = write(QStringLiteral("sparse.md"), QByteArray());
        QVERIFY(QFile::resize(sparse, qint64(64) << 30));
        QCOMPARE(RegularFileReader::read(sparse, qint64(64) << 20).error, FileReadError::tooLarge);
        FileReadError error = FileReadError::none;
        streamedLines(sparse, &error);
        QCOMPARE(error, FileReadError::tooLarge);

        const QString small = write(QStringLiteral("small.md"), QByteArray(100, 'x'));
        QCOMPARE(RegularFileReader::read(small, 10).error, FileReadError::tooLarge);
        const RegularFileReader::Content whole = RegularFileReader::read(small, 100);
        QCOMPARE(whole.error, FileReadError::none);
        QCOMPARE(whole.bytes, QByteArray(100, 'x'));

        // One endless line reaches the reader cut short; the lines after it are whole.
        const QString endless =
            write(QStringLiteral("endless.md"), QByteArray(3 << 20, 'x') + QByteArray("\n- [x] done"));
        const QStringList lines = streamedLines(endless, &error);
        QCOMPARE(error, FileReadError::none);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].size(), RegularFileReader::longestLine);
        QCOMPARE(lines[1], QStringLiteral("- [x] done"));
    }
};

QTEST_GUILESS_MAIN(TestRegularFileReader)
#include "tst_regularfilereader.moc"
