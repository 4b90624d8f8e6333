#include "faultinjectingfilesystem.h"
#include "projectfolder.h"

#include "project/localfilesystem.h"
#include "project/projectscanner.h"
#include "project/regularfilereader.h"
#include "text/nativepath.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrune;

namespace {

QStringList childNames(const TreeNode &node)
{
    QStringList names;
    if (node.children) {
        for (const TreeNode &child : *node.children)
            names << child.name;
    }
    return names;
}

const TreeNode *child(const TreeNode &node, const QString &name)
{
    for (const TreeNode &entry : *node.children) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

// Follows a path of names from a node; fails the test when a step is missing.
const TreeNode &at(const TreeNode &node, const QStringList &names)
{
    const TreeNode *current = &node;
    for (const QString &name : names) {
        current = child(*current, name);
        if (!current)
            qFatal("no node %s", qPrintable(names.join(QLatin1Char('/'))));
    }
    return *current;
}

const QByteArray removedDelta = "# Auth\n\n  ## REMOVED Requirements\n### Requirement: Login\n";

} // namespace

class ProjectScannerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void topLevelOrderAndHiddenEntries();
    void archiveFoldersAreLiftedOutOfChanges();
    void archiveFoldersFromKestruneAndChangesBothAppear();
    void capitalisedArchiveIsLiftedButSortsAmongOtherNames();
    void foldersBeforeFilesInFileBrowserOrder();
    void markdownExtensionInAnyCase();
    void deltaTypeOnlyBelowChangeSpecs();
    void firstDeltaHeadingDecides_data();
    void firstDeltaHeadingDecides();
    void archiveMarksFollowTheWholePath();
    void projectBelowAChangesFolderDetectsEverySpecsFile();
    void noKestruneFolderGivesNoTree();
    void unreadableEntriesShrinkTheTree();
    void rescansDifferOnlyInIds();
    void symbolicLinks();
    void linksOutOfTheProjectAreNotRead();
    void namedPipeInPlaceOfADocumentDoesNotBlock();
    void namesThatAreNotUtf8();
    void urlsAreThoseOfTheLocalFiles();
    void filesBeyondThePathLengthLimit();
};

void ProjectScannerTest::topLevelOrderAndHiddenEntries()
{
    ProjectFolder project;
    project.makeFolder("kestrune/specs");
    project.makeFolder("kestrune/changes");
    project.makeFolder("kestrune/a");
    project.write("kestrune/b.md");
    project.write("kestrune/.hidden");
    project.write("kestrune/.secret.md");
    project.write("kestrune/notes.txt");

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    QCOMPARE(root->kind, TreeNodeKind::projectRoot);
    QCOMPARE(root->name, QStringLiteral("project"));
    QCOMPARE(root->url, project.url());
    QVERIFY(!root->isArchived);
    QVERIFY(!root->modificationDate);
    QCOMPARE(childNames(*root), QStringList({"changes", "specs", "a", "b.md"}));
    QVERIFY(at(*root, {"a"}).children->empty()); // empty folders stay, with an empty list
}

void ProjectScannerTest::archiveFoldersAreLiftedOutOfChanges()
{
    ProjectFolder project;
    project.write("kestrune/changes/archive/2025-01-01-old/proposal.md");
    project.write("kestrune/changes/add-x/proposal.md");
    project.write("kestrune/changes/b-change/proposal.md");
    project.write("kestrune/changes/overview.md");

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    QCOMPARE(childNames(*root), QStringList({"changes", "archive"}));
    QCOMPARE(childNames(at(*root, {"changes"})), QStringList({"add-x", "b-change", "overview.md"}));
    const TreeNode &archive = at(*root, {"archive"});
    QCOMPARE(archive.kind, TreeNodeKind::directory);
    QCOMPARE(archive.url, project.urlOf("kestrune/changes/archive"));
    QVERIFY(archive.isArchived);
    QCOMPARE(childNames(archive), QStringList({"2025-01-01-old"}));
    QCOMPARE(childNames(at(archive, {"2025-01-01-old"})), QStringList({"proposal.md"}));
}

void ProjectScannerTest::archiveFoldersFromKestruneAndChangesBothAppear()
{
    ProjectFolder project;
    project.write("kestrune/archive/from-kestrune/proposal.md");
    project.write("kestrune/changes/archive/from-changes/proposal.md");
    project.makeFolder("kestrune/specs");
    project.makeFolder("kestrune/changes/archived");

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    QCOMPARE(childNames(*root), QStringList({"changes", "archive", "archive", "archived", "specs"}));
    QCOMPARE(childNames(root->children->at(1)), QStringList({"from-kestrune"}));
    QCOMPARE(childNames(root->children->at(2)), QStringList({"from-changes"}));
}

void ProjectScannerTest::capitalisedArchiveIsLiftedButSortsAmongOtherNames()
{
    ProjectFolder project;
    project.makeFolder("kestrune/changes/Archive/old");
    project.makeFolder("kestrune/changes/add-x");
    project.makeFolder("kestrune/specs");
    project.makeFolder("kestrune/zeta");
    project.makeFolder("kestrune/alpha");

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    QCOMPARE(childNames(*root), QStringList({"changes", "specs", "alpha", "Archive", "zeta"}));
    QCOMPARE(childNames(at(*root, {"changes"})), QStringList({"add-x"}));
}

void ProjectScannerTest::foldersBeforeFilesInFileBrowserOrder()
{
    ProjectFolder project;
    project.write("kestrune/notes/b.md");
    project.makeFolder("kestrune/notes/a10");
    project.makeFolder("kestrune/notes/a9");
    project.makeFolder("kestrune/notes/A");
    project.write("kestrune/notes/File 10.md");
    project.write("kestrune/notes/file 9.md");

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    QCOMPARE(childNames(at(*root, {"notes"})),
             QStringList({"A", "a9", "a10", "b.md", "file 9.md", "File 10.md"}));
}

void ProjectScannerTest::markdownExtensionInAnyCase()
{
    ProjectFolder project;
    project.write("kestrune/notes.MD");
    project.write("kestrune/other.Md");
    project.write("kestrune/notes.txt");
    project.write("kestrune/image.png");
    project.write("kestrune/md");

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    QCOMPARE(childNames(*root), QStringList({"notes.MD", "other.Md"}));
    const TreeNode &file = root->children->front();
    QCOMPARE(file.kind, TreeNodeKind::markdownFile);
    QVERIFY(!file.children);
    QVERIFY(file.modificationDate);
}

void ProjectScannerTest::deltaTypeOnlyBelowChangeSpecs()
{
    ProjectFolder project;
    project.write("kestrune/changes/add-x/specs/auth/spec.md", removedDelta);
    project.write("kestrune/changes/add-x/proposal.md", removedDelta);
    project.write("kestrune/specs/auth/spec.md", removedDelta);
    project.write("kestrune/changes/add-x/specs/notes.md", "## ADDED Requirements\n");
    project.write("kestrune/changes/add-x/specs/plain.md", "## Added Requirements\n");
    project.write("kestrune/changes/add-x/specs/latin1.md", "\xe9\n## ADDED Requirements\n");

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    const TreeNode &change = at(*root, {"changes", "add-x"});
    QCOMPARE(at(change, {"specs", "auth", "spec.md"}).deltaType, DeltaSpecType::removed);
    QCOMPARE(at(change, {"specs", "notes.md"}).deltaType, DeltaSpecType::added);
    QVERIFY(!at(change, {"specs", "plain.md"}).deltaType);
    QVERIFY(!at(change, {"specs", "latin1.md"}).deltaType); // not UTF-8: listed without a type
    QVERIFY(!at(change, {"proposal.md"}).deltaType);
    QVERIFY(!at(*root, {"specs", "auth", "spec.md"}).deltaType);
}

void ProjectScannerTest::firstDeltaHeadingDecides_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addRow("modified before added")
        << QStringLiteral("## MODIFIED Requirements\n### R\n## ADDED Requirements\n")
        << QStringLiteral("MODIFIED");
    QTest::addRow("indented with tab and no-break space")
        << QStringLiteral("\t\u00A0## REMOVED Requirements  ") << QStringLiteral("REMOVED");
    QTest::addRow("after a carriage-return line")
        << QStringLiteral("# T\r## ADDED Requirements") << QStringLiteral("ADDED");
    QTest::addRow("third-level heading is not a delta heading")
        << QStringLiteral("### ADDED Requirements") << QString();
    QTest::addRow("trailing words") << QStringLiteral("## ADDED Requirements here") << QString();
    QTest::addRow("lower case") << QStringLiteral("## added requirements") << QString();
}

void ProjectScannerTest::firstDeltaHeadingDecides()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const std::optional<DeltaSpecType> type = detectDeltaTypeInText(text);
    QCOMPARE(type ? rawValue(*type) : QString(), expected);
}

void ProjectScannerTest::archiveMarksFollowTheWholePath()
{
    ProjectFolder kept(QStringLiteral("project"), QStringLiteral("old-archive"));
    kept.write("kestrune/specs/auth/spec.md");
    const std::optional<TreeNode> root = buildTree(kept.url());
    QVERIFY(root);
    QVERIFY(!root->isArchived);
    QVERIFY(at(*root, {"specs"}).isArchived);
    QVERIFY(at(*root, {"specs", "auth", "spec.md"}).isArchived);

    ProjectFolder project;
    project.write("kestrune/changes/remove-ARCHIVE-flag/proposal.md");
    project.write("kestrune/changes/add-x/proposal.md");
    project.write("kestrune/changes/add-x/old-Archive.md");
    const std::optional<TreeNode> other = buildTree(project.url());
    QVERIFY(at(*other, {"changes", "remove-ARCHIVE-flag"}).isArchived);
    QVERIFY(at(*other, {"changes", "remove-ARCHIVE-flag", "proposal.md"}).isArchived);
    QVERIFY(!at(*other, {"changes", "add-x"}).isArchived);
    QVERIFY(!at(*other, {"changes", "add-x", "proposal.md"}).isArchived);
    QVERIFY(at(*other, {"changes", "add-x", "old-Archive.md"}).isArchived); // by its own name
    QVERIFY(isArchivedPath(u"/x/Archived/y"));
    QVERIFY(!isArchivedPath(u"/x/arch/ive"));
}

void ProjectScannerTest::projectBelowAChangesFolderDetectsEverySpecsFile()
{
    ProjectFolder project(QStringLiteral("project"), QStringLiteral("changes"));
    project.write("kestrune/specs/auth/spec.md", removedDelta);
    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    QCOMPARE(at(*root, {"specs", "auth", "spec.md"}).deltaType, DeltaSpecType::removed);
}

void ProjectScannerTest::noKestruneFolderGivesNoTree()
{
    ProjectFolder empty;
    QVERIFY(!buildTree(empty.url()));
    ProjectFolder withFile;
    withFile.write("kestrune", "not a folder");
    QVERIFY(!buildTree(withFile.url()));
    ProjectFolder wrongCase;
    wrongCase.makeFolder("Kestrune/specs");
    QVERIFY(!buildTree(wrongCase.url()));
}

void ProjectScannerTest::unreadableEntriesShrinkTheTree()
{
    ProjectFolder project;
    project.write("kestrune/changes/add-x/proposal.md");
    project.write("kestrune/changes/add-y/proposal.md");
    project.write("kestrune/changes/add-y/specs/a/spec.md", "## ADDED Requirements\n");
    project.write("kestrune/specs/auth/spec.md");
    project.write("kestrune/notes.md");
    project.makeFolder("kestrune/empty");

    auto fileSystem = std::make_shared<FaultInjectingFileSystem>();
    fileSystem->unlistableFolders << project.pathOf("kestrune/changes/add-x");
    fileSystem->unreadableAttributes << project.pathOf("kestrune/notes.md");
    fileSystem->missingDates << project.pathOf("kestrune/specs/auth/spec.md");
    fileSystem->unreadableFiles << project.pathOf("kestrune/changes/add-y/specs/a/spec.md");
    const ModelEnvironment environment = testEnvironment(fileSystem);

    const std::optional<TreeNode> root = buildTree(project.url(), environment);
    QVERIFY(root);
    QCOMPARE(childNames(*root), QStringList({"changes", "specs", "empty"}));
    QCOMPARE(childNames(at(*root, {"changes"})), QStringList({"add-y"})); // not shown as an empty folder
    const TreeNode &spec = at(*root, {"specs", "auth", "spec.md"});
    QVERIFY(!spec.modificationDate);
    QVERIFY(!at(*root, {"changes", "add-y", "specs", "a", "spec.md"}).deltaType);

    fileSystem->unlistableFolders << project.pathOf("kestrune");
    const std::optional<TreeNode> unlistable = buildTree(project.url(), environment);
    QVERIFY(unlistable);
    QVERIFY(unlistable->children && unlistable->children->empty());
}

void ProjectScannerTest::rescansDifferOnlyInIds()
{
    ProjectFolder project;
    project.write("kestrune/changes/add-x/specs/a/spec.md", "## ADDED Requirements\n");
    project.write("kestrune/changes/archive/old/tasks.md");
    project.write("kestrune/specs/a.md");

    const std::optional<TreeNode> first = buildTree(project.url());
    const std::optional<TreeNode> second = buildTree(project.url());
    QVERIFY(first && second);
    std::function<void(const TreeNode &, const TreeNode &)> compare = [&](const TreeNode &a,
                                                                          const TreeNode &b) {
        QVERIFY(a.id != b.id);
        QVERIFY(!a.id.isNull());
        QCOMPARE(a.id.version(), QUuid::Random);
        QCOMPARE(a.kind, b.kind);
        QCOMPARE(a.name, b.name);
        QCOMPARE(a.url, b.url);
        QCOMPARE(a.modificationDate, b.modificationDate);
        QCOMPARE(a.deltaType, b.deltaType);
        QCOMPARE(a.isArchived, b.isArchived);
        QCOMPARE(bool(a.children), bool(b.children));
        if (a.children) {
            QCOMPARE(a.children->size(), b.children->size());
            for (size_t i = 0; i < a.children->size(); ++i)
                compare(a.children->at(i), b.children->at(i));
        }
    };
    compare(*first, *second);
}

void ProjectScannerTest::symbolicLinks()
{
    const QDateTime modified(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
    ProjectFolder project;
    project.write("kestrune/specs/auth/spec.md", "# Auth\n", modified);
    project.makeFolder("kestrune/loop");
    QVERIFY(::symlink(qPrintable(project.pathOf("kestrune")),
                      qPrintable(project.pathOf("kestrune/loop/back"))) == 0);
    QVERIFY(::symlink(qPrintable(project.pathOf("kestrune/specs/auth/spec.md")),
                      qPrintable(project.pathOf("kestrune/linked.md"))) == 0);

    const std::optional<TreeNode> root = buildTree(project.url()); // must not follow the loop
    QVERIFY(root);
    QCOMPARE(childNames(at(*root, {"loop"})), QStringList());
    const TreeNode &linked = at(*root, {"linked.md"});
    QCOMPARE(linked.kind, TreeNodeKind::markdownFile);
    // The date of the content, not of the link made just now.
    QCOMPARE(linked.modificationDate, modified);
    QCOMPARE(at(*root, {"specs", "auth", "spec.md"}).modificationDate, modified);
    QVERIFY(!linked.linksOutsideProject);
}

// A file linking out of the project is listed but never read, however readable its target;
// one linking to another file of the project is read as usual.
void ProjectScannerTest::linksOutOfTheProjectAreNotRead()
{
    ProjectFolder outside(QStringLiteral("elsewhere"));
    outside.write("secret.md", removedDelta);
    ProjectFolder project;
    project.write("kestrune/changes/add-x/specs/auth/real.md", removedDelta);
    const auto link = [&](const QString &target, const char *name) {
        QVERIFY(::symlink(qPrintable(target), qPrintable(project.pathOf(QString::fromLatin1(name)))) == 0);
    };
    link(outside.pathOf("secret.md"), "kestrune/changes/add-x/specs/auth/outside.md");
    link(QStringLiteral("../../../../../../elsewhere-missing.md"),
         "kestrune/changes/add-x/specs/auth/dangling.md");
    link(QStringLiteral("real.md"), "kestrune/changes/add-x/specs/auth/inside.md");

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    const TreeNode &auth = at(*root, {"changes", "add-x", "specs", "auth"});
    const TreeNode &outsideLink = at(auth, {"outside.md"});
    QVERIFY(outsideLink.linksOutsideProject);
    QVERIFY(!outsideLink.deltaType);
    QVERIFY(at(auth, {"dangling.md"}).linksOutsideProject);
    const TreeNode &insideLink = at(auth, {"inside.md"});
    QVERIFY(!insideLink.linksOutsideProject);
    QCOMPARE(insideLink.deltaType, DeltaSpecType::removed);
}

void ProjectScannerTest::namedPipeInPlaceOfADocumentDoesNotBlock()
{
    ProjectFolder project;
    project.makeFolder("kestrune/changes/add-x/specs");
    QVERIFY(::mkfifo(qPrintable(project.pathOf("kestrune/changes/add-x/specs/pipe.md")), 0600) == 0);
    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    const TreeNode &pipe = at(*root, {"changes", "add-x", "specs", "pipe.md"});
    QVERIFY(!pipe.deltaType);
}

// A name is bytes, not text: one that is not UTF-8 keeps its entry with date and delta type,
// is shown with U+FFFD for each byte that cannot be read, and its URL leads back to its bytes.
// Names with characters URLs escape or treat apart, and with the escape character itself.
void ProjectScannerTest::urlsAreThoseOfTheLocalFiles()
{
    ProjectFolder project;
    const QStringList names = {"a b#c?d[e]&f.md", "100%25 done%.md", "\u00fcber \u4e2d.md", "x;y=z@w:v.md"};
    for (const QString &name : names)
        project.write(QStringLiteral("kestrune/specs/odd %1/").arg(names.indexOf(name)) + name);
    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    for (const QString &name : names) {
        const QString folder = QStringLiteral("odd %1").arg(names.indexOf(name));
        const QString path = project.pathOf(QStringLiteral("kestrune/specs/") + folder + u'/' + name);
        const TreeNode &file = at(*root, {"specs", folder, name});
        QCOMPARE(file.url, QUrl::fromLocalFile(path));
        QCOMPARE(file.url.toString(QUrl::FullyEncoded),
                 QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
        QCOMPARE(file.url.toLocalFile(), path);
        QCOMPARE(at(*root, {"specs", folder}).url, QUrl::fromLocalFile(QFileInfo(path).path()));
    }
}

void ProjectScannerTest::namesThatAreNotUtf8()
{
    const QDateTime modified(QDate(2025, 3, 4), QTime(5, 6, 7), Qt::UTC);
    const QByteArray added = "## ADDED Requirements\n";
    ProjectFolder project;
    project.writeNative("kestrune/changes/chg\xff/proposal.md", "# Proposal\n", modified);
    project.writeNative("kestrune/changes/chg\xff/tasks.md", "- [x] a\n- [ ] b\n");
    project.writeNative("kestrune/changes/chg\xff/specs/auth/spec.md", removedDelta, modified);
    project.writeNative("kestrune/changes/add-x/specs/bad\xff\xfe.md", added, modified);

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    QCOMPARE(childNames(at(*root, {"changes"})), QStringList({"add-x", "chg\uFFFD"}));
    const TreeNode &change = at(*root, {"changes", "chg\uFFFD"});
    QCOMPARE(childNames(change), QStringList({"specs", "proposal.md", "tasks.md"}));
    QCOMPARE(at(change, {"proposal.md"}).modificationDate, modified);
    const TreeNode &spec = at(change, {"specs", "auth", "spec.md"});
    QCOMPARE(spec.modificationDate, modified);
    QCOMPARE(spec.deltaType, DeltaSpecType::removed);
    const TreeNode &bad = at(*root, {"changes", "add-x", "specs", "bad\uFFFD\uFFFD.md"});
    QCOMPARE(bad.modificationDate, modified);
    QCOMPARE(bad.deltaType, DeltaSpecType::added);

    const QByteArray folder = QFile::encodeName(project.path()) + "/kestrune/changes/";
    QCOMPARE(NativePath::encode(change.url.toLocalFile()), folder + "chg\xff");
    QCOMPARE(NativePath::encode(bad.url.toLocalFile()), folder + "add-x/specs/bad\xff\xfe.md");
    QCOMPARE(RegularFileReader::read(bad.url.toLocalFile(), 1024).bytes, added);
    QCOMPARE(RegularFileReader::read(QUrl(spec.url.toString()).toLocalFile(), 1024).bytes, removedDelta);
}

// The system refuses a path of PATH_MAX bytes or more, yet folders nest as deep as anyone makes
// them: a file 3,000 folders down is found, dated, typed and read like any other.
void ProjectScannerTest::filesBeyondThePathLengthLimit()
{
    const int depth = 3000;
    const QDateTime modified(QDate(2025, 3, 4), QTime(5, 6, 7), Qt::UTC);
    ProjectFolder project;
    const QString file =
        project.writeNested("kestrune/changes/x/specs", depth, "spec.md", removedDelta, modified);
    QVERIFY(!file.isEmpty());
    QVERIFY(file.size() > PATH_MAX);

    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    const TreeNode *node = &at(*root, {"changes", "x", "specs"});
    for (int level = 0; level < depth; ++level) {
        QCOMPARE(childNames(*node), QStringList({"d"}));
        node = &node->children->front();
    }
    QCOMPARE(childNames(*node), QStringList({"spec.md"}));
    const TreeNode &spec = node->children->front();
    QCOMPARE(spec.url.toLocalFile(), file);
    QCOMPARE(spec.modificationDate, modified);
    QCOMPARE(spec.deltaType, DeltaSpecType::removed);

    QCOMPARE(RegularFileReader::read(file, 1024).bytes, removedDelta);
    const LocalFileSystem &fileSystem = *LocalFileSystem::shared();
    QCOMPARE(fileSystem.readFile(file), removedDelta);
    QVERIFY(fileSystem.exists(file));
    QVERIFY(!fileSystem.isDirectory(file));
    QVERIFY(fileSystem.isDirectory(file.chopped(QStringLiteral("/spec.md").size())));
    QVERIFY(!fileSystem.exists(file + QStringLiteral(".missing")));
}

QTEST_APPLESS_MAIN(ProjectScannerTest)
#include "tst_projectscanner.moc"
