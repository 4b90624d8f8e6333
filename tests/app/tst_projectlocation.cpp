#include "app/projectlocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrune;

namespace {

void makeFile(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestProjectLocation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void resolve_data();
    void resolve();
    void relativePathsStartAtTheWorkingFolder();
    void errorTextNamesThePathAndTheReason();

private:
    QTemporaryDir m_folder;
};

void TestProjectLocation::initTestCase()
{
    // app/                       a project
    //   kestrune/changes/add-login/{proposal.md, specs/}
    //   kestrune/NOTES.MD
    //   src/main.cpp
    // notes/todo.md              no project above it
    // fake/kestrune              a file, not a folder
    // loose.txt
    QVERIFY(m_folder.isValid());
    const QDir root(m_folder.path());
    QVERIFY(root.mkpath(QStringLiteral("app/kestrune/changes/add-login/specs")));
    makeFile(root.filePath(QStringLiteral("app/kestrune/changes/add-login/proposal.md")));
    makeFile(root.filePath(QStringLiteral("app/kestrune/NOTES.MD")));
    makeFile(root.filePath(QStringLiteral("app/src/main.cpp")));
    makeFile(root.filePath(QStringLiteral("notes/todo.md")));
    makeFile(root.filePath(QStringLiteral("fake/kestrune")));
    makeFile(root.filePath(QStringLiteral("loose.txt")));
}

void TestProjectLocation::resolve_data()
{
    QTest::addColumn<QString>("path");        // below the temporary folder
    QTest::addColumn<QString>("projectRoot"); // below it too; empty when refused
    QTest::addColumn<QString>("target");      // below it too
    QTest::addColumn<int>("error");           // -1: none
    const int none = -1;
    const int doesNotExist = int(ProjectLocationError::doesNotExist);
    const int notAFolder = int(ProjectLocationError::notAFolder);
    const int noKestrune = int(ProjectLocationError::noKestruneFolder);
    QTest::addRow("the project folder shows its dashboard") << "app"
                                                            << "app"
                                                            << "" << none;
    QTest::addRow("the project folder with a trailing slash") << "app/"
                                                              << "app"
                                                              << "" << none;
    QTest::addRow("its kestrune folder") << "app/kestrune"
                                         << "app"
                                         << "app/kestrune" << none;
    QTest::addRow("a change folder") << "app/kestrune/changes/add-login"
                                     << "app"
                                     << "app/kestrune/changes/add-login" << none;
    QTest::addRow("a folder below a change") << "app/kestrune/changes/add-login/specs"
                                             << "app"
                                             << "app/kestrune/changes/add-login/specs" << none;
    QTest::addRow("a Markdown file of a change") << "app/kestrune/changes/add-login/proposal.md"
                                                 << "app"
                                                 << "app/kestrune/changes/add-login/proposal.md" << none;
    QTest::addRow("a Markdown file in capitals") << "app/kestrune/NOTES.MD"
                                                 << "app"
                                                 << "app/kestrune/NOTES.MD" << none;
    QTest::addRow("a folder of the project outside kestrune") << "app/src"
                                                              << "app"
                                                              << "app/src" << none;
    QTest::addRow("an unclean path is cleaned first") << "app/src/../kestrune/./changes"
                                                      << "app"
                                                      << "app/kestrune/changes" << none;
    QTest::addRow("a path that is not there") << "app/kestrune/missing"
                                              << ""
                                              << "" << doesNotExist;
    QTest::addRow("another file of a project") << "app/src/main.cpp"
                                               << ""
                                               << "" << notAFolder;
    QTest::addRow("a plain file") << "loose.txt"
                                  << ""
                                  << "" << notAFolder;
    QTest::addRow("a Markdown file outside any project") << "notes/todo.md"
                                                         << ""
                                                         << "" << notAFolder;
    QTest::addRow("a folder with no project above it") << "notes"
                                                       << ""
                                                       << "" << noKestrune;
    QTest::addRow("a file named kestrune makes no project") << "fake"
                                                            << ""
                                                            << "" << noKestrune;
}

void TestProjectLocation::resolve()
{
    QFETCH(QString, path);
    QFETCH(QString, projectRoot);
    QFETCH(QString, target);
    QFETCH(int, error);
    const QDir root(m_folder.path());
    const ProjectLocation location = ProjectLocation::resolve(root.filePath(path));
    QCOMPARE(location.path, QDir::cleanPath(root.filePath(path)));
    QCOMPARE(location.error.has_value(), error >= 0);
    if (location.error)
        QCOMPARE(int(*location.error), error);
    QCOMPARE(location.projectRoot, projectRoot.isEmpty() ? QString() : root.filePath(projectRoot));
    QCOMPARE(location.target, target.isEmpty() ? QString() : root.filePath(target));
    QCOMPARE(location.errorText().isEmpty(), error < 0);
}

void TestProjectLocation::relativePathsStartAtTheWorkingFolder()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_folder.filePath(QStringLiteral("app/kestrune"))));
    const ProjectLocation location = ProjectLocation::resolve(QStringLiteral("changes"));
    QDir::setCurrent(previous);
    QCOMPARE(location.projectRoot, m_folder.filePath(QStringLiteral("app")));
    QCOMPARE(location.target, m_folder.filePath(QStringLiteral("app/kestrune/changes")));
    QCOMPARE(ProjectLocation::resolve(QString()).error, ProjectLocationError::doesNotExist);
}

void TestProjectLocation::errorTextNamesThePathAndTheReason()
{
    const QString missing = m_folder.filePath(QStringLiteral("gone"));
    QCOMPARE(ProjectLocation::resolve(missing).errorText(),
             missing + QStringLiteral(": import.failed.does_not_exist"));
    const QString notes = m_folder.filePath(QStringLiteral("notes"));
    QCOMPARE(ProjectLocation::resolve(notes).errorText(),
             notes + QStringLiteral(": import.failed.no_kestrune_folder"));
    const QString loose = m_folder.filePath(QStringLiteral("loose.txt"));
    QCOMPARE(ProjectLocation::resolve(loose).errorText(),
             loose + QStringLiteral(": import.failed.not_a_folder"));
}

QTEST_GUILESS_MAIN(TestProjectLocation)
#include "tst_projectlocation.moc"
