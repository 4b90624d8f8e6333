#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runMd(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(KESTRUNE_MD_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

// The exit statuses its manual page documents: 0, 1 for input or output, 2 for usage.
class KestruneMdTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usageErrorsEndWithTwo();
    void unreadableInputEndsWithOne();
    void convertsStandardInput();
};

void KestruneMdTest::usageErrorsEndWithTwo()
{
    for (const QStringList &arguments : {QStringList{"--no-such-option"}, QStringList{"--to"},
                                         QStringList{"--to", "pdf"}, QStringList{"a.md", "b.md"}}) {
        const Run run = runMd(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("kestrune-md: "));
    }
    const Run help = runMd({"--help-all"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("--to"));
}

void KestruneMdTest::unreadableInputEndsWithOne()
{
    QTemporaryDir folder;
    QCOMPARE(runMd({folder.filePath("missing.md")}).exitCode, 1);
    QCOMPARE(runMd({"-"}, QByteArray("\xff\xfe not UTF-8")).exitCode, 1);
}

void KestruneMdTest::convertsStandardInput()
{
    const Run run = runMd({"--to", "html"}, "# Title\n\n- [x] done\n");
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains("<h1>Title</h1>"));
}

QTEST_GUILESS_MAIN(KestruneMdTest)
#include "tst_kestrunemd.moc"
