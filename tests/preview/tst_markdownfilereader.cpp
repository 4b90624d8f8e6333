#include "preview/markdownfilereader.h"
#include "preview/markdownviewmode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kestrune;

namespace {

const QString readError = QStringLiteral("cannot read");
const MarkdownFileReader::ErrorMessages messages{QStringLiteral("not found"),    QStringLiteral("permission"),
                                                 QStringLiteral("not a file"),   QStringLiteral("too large"),
                                                 QStringLiteral("not UTF-8"),    QStringLiteral("other"),
                                                 QStringLiteral("out of memory")};

} // namespace

class TestMarkdownFileReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void read_data();
    void read();
    void viewModeRawValues();
};

void TestMarkdownFileReader::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<MarkdownPreviewState>("expected");

    const auto content = [](const char *text) {
        return MarkdownPreviewState::content(QString::fromUtf8(text));
    };
    const MarkdownPreviewState error = MarkdownPreviewState::error(readError);

    QTest::addRow("zero bytes are empty") << QByteArray() << MarkdownPreviewState::empty();
    QTest::addRow("spaces, tabs and line breaks are empty")
        << QByteArray(" \t\r\n \n\t\f\v ") << MarkdownPreviewState::empty();
    QTest::addRow("Unicode spaces and separators are empty")
        << QByteArray("\xc2\xa0\xe3\x80\x80\xe2\x80\xa8\xe2\x80\x83\xc2\x85\n")
        << MarkdownPreviewState::empty();
    QTest::addRow("leading and trailing blank lines are kept")
        << QByteArray("\n\n  # Title\n\nText  \n\n\n") << content("\n\n  # Title\n\nText  \n\n\n");
    QTest::addRow("text beyond the basic plane")
        << QByteArray("\xf0\x9f\x8c\x99 moon") << content("\xf0\x9f\x8c\x99 moon");
    QTest::addRow("a byte-order mark is dropped") << QByteArray("\xef\xbb\xbf# Title") << content("# Title");
    QTest::addRow("a NUL byte is text")
        << QByteArray("a\0b", 3) << MarkdownPreviewState::content(QString::fromUtf8("a\0b", 3));
    QTest::addRow("a Latin-1 byte is not UTF-8") << QByteArray("caf\xe9\n") << error;
    QTest::addRow("a sequence cut off at the end is not UTF-8") << QByteArray("price \xe2\x82") << error;
    QTest::addRow("an overlong encoding is not UTF-8") << QByteArray("\xc0\xaf") << error;
    QTest::addRow("an encoded surrogate is not UTF-8") << QByteArray("\xed\xa0\x80") << error;
    QTest::addRow("invalid bytes after white space are not empty") << QByteArray("   \xff") << error;
}

void TestMarkdownFileReader::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(MarkdownPreviewState, expected);
    QCOMPARE(MarkdownFileReader::decode(bytes, readError), expected);
}

void TestMarkdownFileReader::read_data()
{
    // Created in the temporary folder: "file", "folder", "fifo", "device", "sparse" or nothing.
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<MarkdownPreviewState::Kind>("expected");
    QTest::addColumn<QString>("message"); // for an error

    QTest::addRow("a file is read whole")
        << "file" << QByteArray("# Title\n") << MarkdownPreviewState::Kind::content << QString();
    QTest::addRow("an empty file") << "file" << QByteArray() << MarkdownPreviewState::Kind::empty
                                   << QString();
    QTest::addRow("a missing file is not found")
        << "" << QByteArray() << MarkdownPreviewState::Kind::error << messages.notFound;
    QTest::addRow("a folder is not a file")
        << "folder" << QByteArray() << MarkdownPreviewState::Kind::error << messages.notRegularFile;
    QTest::addRow("a named pipe is not read, and does not block")
        << "fifo" << QByteArray() << MarkdownPreviewState::Kind::error << messages.notRegularFile;
    QTest::addRow("a link to an endless device is not read")
        << "device" << QByteArray() << MarkdownPreviewState::Kind::error << messages.notRegularFile;
    QTest::addRow("a file above the limit is too large")
        << "sparse" << QByteArray() << MarkdownPreviewState::Kind::error << messages.tooLarge;
    QTest::addRow("bytes that are not UTF-8")
        << "file" << QByteArray("caf\xe9") << MarkdownPreviewState::Kind::error << messages.notUtf8;
}

void TestMarkdownFileReader::read()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, bytes);
    QFETCH(MarkdownPreviewState::Kind, expected);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("spec.md"));
    if (entry == QLatin1String("file") || entry == QLatin1String("sparse")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        if (entry == QLatin1String("sparse"))
            QVERIFY(file.resize(MarkdownFileReader::largestFile + 1));
    } else if (entry == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("spec.md")));
    } else if (entry == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (entry == QLatin1String("device")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    }
    const MarkdownPreviewState state = MarkdownFileReader::read(path, messages);
    QCOMPARE(state.kind(), expected);
    if (expected == MarkdownPreviewState::Kind::content)
        QCOMPARE(state.text(), QString::fromUtf8(bytes));
    if (expected == MarkdownPreviewState::Kind::error)
        QCOMPARE(state.message(), message);

    // The load hands on the bytes of what it shows, as on disk, for the reading history.
    const MarkdownFileReader::Document document = MarkdownFileReader::load(path, messages, 1 << 20);
    QCOMPARE(document.state.kind(), expected);
    QCOMPARE(document.bytes, expected == MarkdownPreviewState::Kind::error ? QByteArray() : bytes);
}

void TestMarkdownFileReader::viewModeRawValues()
{
    for (const MarkdownViewMode mode : {MarkdownViewMode::preview, MarkdownViewMode::source})
        QCOMPARE(markdownViewModeFromRawValue(rawValue(mode)), mode);
    QCOMPARE(rawValue(MarkdownViewMode::source), QStringLiteral("source"));
    QVERIFY(!markdownViewModeFromRawValue(u"Preview"));
}

QTEST_GUILESS_MAIN(TestMarkdownFileReader)
#include "tst_markdownfilereader.moc"
