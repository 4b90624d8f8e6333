// What a path in a planning folder is, read from the path alone: specifications, change folders
// and delta specifications with their change and capability, and the way from a URL to the
// planning folder of its project and back.
#include "project/planningpath.h"

#include <QTest>

using namespace kestrune;

using Kind = PlanningPath::Kind;

Q_DECLARE_METATYPE(Kind)

class TestPlanningPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kindsOfPaths_data();
    void kindsOfPaths();
    void pathsInThePlanningFolder_data();
    void pathsInThePlanningFolder();
    void urlsInThePlanningFolder();
    void projectRootAbove_data();
    void projectRootAbove();
};

void TestPlanningPath::kindsOfPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isFolder");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("changeFolderPath");
    QTest::addColumn<QString>("capability");
    QTest::addColumn<bool>("isCapabilityFile");
    QTest::addColumn<bool>("isArchived");

    QTest::addRow("capability folder's spec.md") << "specs/auth/spec.md" << false << Kind::specification << ""
                                                 << "auth" << true << false;
    QTest::addRow("capability file in specs itself") << "specs/auth.md" << false << Kind::specification << ""
                                                     << "auth" << true << false;
    QTest::addRow("other text of a capability")
        << "specs/auth/notes.md" << false << Kind::specificationText << ""
        << "auth" << false << false;
    QTest::addRow("nested capability folders")
        << "specs/auth/login/spec.md" << false << Kind::specificationText << ""
        << "auth/login" << false << false;
    QTest::addRow("specs folder itself is nothing") << "specs" << true << Kind::other << ""
                                                    << "" << false << false;
    QTest::addRow("change folder") << "changes/add-login" << true << Kind::changeFolder << "changes/add-login"
                                   << "" << false << false;
    QTest::addRow("archived change folder")
        << "changes/archive/2026-01-01-x" << true << Kind::changeFolder << "changes/archive/2026-01-01-x"
        << "" << false << true;
    QTest::addRow("archive spelt archived")
        << "changes/Archived/x/tasks.md" << false << Kind::other << "changes/Archived/x"
        << "" << false << true;
    QTest::addRow("archive folder itself is no change") << "changes/archive" << true << Kind::other << ""
                                                        << "" << false << true;
    QTest::addRow("file of a change")
        << "changes/add-login/tasks.md" << false << Kind::other << "changes/add-login"
        << "" << false << false;
    QTest::addRow("delta in a capability folder")
        << "changes/add-login/specs/auth/spec.md" << false << Kind::deltaSpecification << "changes/add-login"
        << "auth" << true << false;
    QTest::addRow("delta file in the change's specs")
        << "changes/archive/2026-01-01-x/specs/auth.md" << false << Kind::deltaSpecification
        << "changes/archive/2026-01-01-x"
        << "auth" << true << true;
    QTest::addRow("other text of a delta's capability")
        << "changes/add-login/specs/auth/notes.md" << false << Kind::deltaSpecification << "changes/add-login"
        << "auth" << false << false;
    QTest::addRow("a change named specs in the archive is no delta")
        << "changes/archive/specs/auth.md" << false << Kind::other << "changes/archive/specs"
        << "" << false << true;
    QTest::addRow("markdown suffix in capitals")
        << "changes/x/specs/auth.MD" << false << Kind::deltaSpecification << "changes/x"
        << "auth" << true << false;
    QTest::addRow("a folder named like a delta is none")
        << "changes/x/specs/auth.md" << true << Kind::other << "changes/x"
        << "" << false << false;
}

void TestPlanningPath::kindsOfPaths()
{
    QFETCH(QString, path);
    QFETCH(bool, isFolder);
    const PlanningPath planning = PlanningPath::of(path, isFolder);
    QTEST(planning.kind, "kind");
    QTEST(planning.changeFolderPath, "changeFolderPath");
    QTEST(planning.capability, "capability");
    QTEST(planning.isCapabilityFile, "isCapabilityFile");
    QTEST(planning.isArchived, "isArchived");
    QCOMPARE(planning.relativePath, path);
}

void TestPlanningPath::pathsInThePlanningFolder_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("relativePath"); // empty: not in the planning folder

    QTest::addRow("in the planning folder") << "/p"
                                            << "/p/kestrune/changes/x/specs/auth.md"
                                            << "changes/x/specs/auth.md";
    QTest::addRow("root with a slash at its end") << "/p/"
                                                  << "/p/kestrune/specs/auth.md"
                                                  << "specs/auth.md";
    QTest::addRow("path not yet clean") << "/p"
                                        << "/p/kestrune/changes/x/../y/specs/auth.md"
                                        << "changes/y/specs/auth.md";
    QTest::addRow("beside the planning folder") << "/p"
                                                << "/p/changes/x/specs/auth.md"
                                                << "";
    QTest::addRow("another project") << "/q"
                                     << "/p/kestrune/changes/x/specs/auth.md"
                                     << "";
    QTest::addRow("a project whose name starts alike") << "/p"
                                                       << "/p2/kestrune/changes/x/specs/auth.md"
                                                       << "";
    QTest::addRow("the project at the top of the disk") << "/"
                                                        << "/kestrune/specs/auth.md"
                                                        << "specs/auth.md";
}

void TestPlanningPath::pathsInThePlanningFolder()
{
    QFETCH(QString, root);
    QFETCH(QString, file);
    QFETCH(QString, relativePath);
    const std::optional<PlanningPath> path =
        PlanningPath::inPlanningFolder(QUrl::fromLocalFile(root), QUrl::fromLocalFile(file), false);
    QCOMPARE(path.has_value(), !relativePath.isEmpty());
    if (path)
        QCOMPARE(path->relativePath, relativePath);
}

void TestPlanningPath::urlsInThePlanningFolder()
{
    const QUrl root = QUrl::fromLocalFile(QStringLiteral("/p/"));
    const QUrl file = QUrl::fromLocalFile(QStringLiteral("/p/kestrune/changes/archive/x/specs/auth/spec.md"));
    const std::optional<PlanningPath> path = PlanningPath::inPlanningFolder(root, file, false);
    QVERIFY(path);
    QCOMPARE(PlanningPath::urlInPlanningFolder(root, path->changeFolderPath),
             QUrl::fromLocalFile(QStringLiteral("/p/kestrune/changes/archive/x")));
    QCOMPARE(PlanningPath::urlInPlanningFolder(root, path->relativePath), file);
    QVERIFY(!PlanningPath::inPlanningFolder(root, QUrl(QStringLiteral("https://example.org/p/kestrune/a.md")),
                                            false));
}

void TestPlanningPath::projectRootAbove_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("root"); // empty: none

    QTest::addRow("file of a change") << "/home/a/p/kestrune/changes/x/specs/auth.md"
                                      << "/home/a/p";
    QTest::addRow("nearest planning folder wins") << "/home/kestrune/p/kestrune/specs/auth.md"
                                                  << "/home/kestrune/p";
    QTest::addRow("project at the top of the disk") << "/kestrune/specs/auth.md"
                                                    << "/";
    QTest::addRow("the planning folder is not above itself") << "/p/kestrune"
                                                             << "";
    QTest::addRow("a name that only starts alike") << "/p/kestrune-old/specs/auth.md"
                                                   << "";
    QTest::addRow("no planning folder") << "/p/changes/x/specs/auth.md"
                                        << "";
}

void TestPlanningPath::projectRootAbove()
{
    QFETCH(QString, url);
    QFETCH(QString, root);
    const std::optional<QUrl> found = PlanningPath::projectRootAbove(QUrl::fromLocalFile(url));
    QCOMPARE(found.has_value(), !root.isEmpty());
    if (found)
        QCOMPARE(*found, QUrl::fromLocalFile(root));
}

QTEST_GUILESS_MAIN(TestPlanningPath)
#include "tst_planningpath.moc"
