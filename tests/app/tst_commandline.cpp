#include "app/appdelegate.h"
#include "app/commandline.h"
#include "ui/localization.h"

#include <QApplication>
#include <QTest>

using namespace kestrune;

// The command line read from a real application object, which is built here from the arguments
// a desktop could pass: Qt's own options among the program's.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void qtOptionsAreTakenByTheApplication();
};

void TestCommandLine::qtOptionsAreTakenByTheApplication()
{
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    const CommandLine commandLine = CommandLine::process(*qApp);
    QVERIFY(!commandLine.exitCode);
    QCOMPARE(commandLine.paths,
             (QStringList{QStringLiteral("/projects/my app"), QStringLiteral("/projects/b"),
                          QStringLiteral("sftp://host/projects/c"), QStringLiteral("HTTP://example.com/d")}));
    // The addresses are not on this computer, which is what the reader is told of them (and not
    // that they do not exist), in English and in German.
    const QStringList unusable = commandLine.unusablePaths();
    QCOMPARE(unusable.size(), 4);
    QCOMPARE(unusable.at(2), QStringLiteral("sftp://host/projects/c: import.failed.not_local"));
    QCOMPARE(unusable.at(3), QStringLiteral("HTTP://example.com/d: import.failed.not_local"));
    Localization::install(qApp, QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(
        commandLine.unusablePaths().at(2),
        QStringLiteral("sftp://host/projects/c: is not on this computer: only local folders can be opened"));
    Localization::install(qApp, QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(
        commandLine.unusablePaths().at(2),
        QStringLiteral("sftp://host/projects/c: liegt nicht auf diesem Computer: nur lokale Ordner können "
                       "geöffnet werden"));
}

int main(int argc, char **argv)
{
    char reverse[] = "-reverse";
    char url[] = "file:///projects/my%20app";
    char path[] = "/projects/b/";
    char sftp[] = "sftp://host/projects/c";
    char web[] = "HTTP://example.com/d";
    std::vector<char *> arguments = {argv[0], reverse, url, path, sftp, web, nullptr};
    int count = int(arguments.size()) - 1;
    QApplication application(count, arguments.data());
    AppDelegate::setApplicationIdentity();
    TestCommandLine test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_commandline.moc"
