#include "app/appdelegate.h"
#include "app/commandline.h"

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
             (QStringList{QStringLiteral("/projects/my app"), QStringLiteral("/projects/b")}));
}

int main(int argc, char **argv)
{
    char reverse[] = "-reverse";
    char url[] = "file:///projects/my%20app";
    char path[] = "/projects/b/";
    std::vector<char *> arguments = {argv[0], reverse, url, path, nullptr};
    int count = int(arguments.size()) - 1;
    QApplication application(count, arguments.data());
    AppDelegate::setApplicationIdentity();
    TestCommandLine test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_commandline.moc"
