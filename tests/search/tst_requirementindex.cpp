#include "project/projectstore.h"
#include "projectfolder.h"
#include "search/requirementindex.h"
#include "text/headingidentifier.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace kestrune;

namespace {

const QByteArray specification = "# Tags\n\n## Purpose\n\nText.\n\n## Requirements\n\n"
                                 "### Requirement: Tag a note\n\nThe app SHALL tag.\n\n"
                                 "#### Scenario: One tag\n\n- **WHEN** x\n\n"
                                 "### Requirement：Rename a `tag_name`\n\nWide colon.\n\n"
                                 "```markdown\n### Requirement: Inside a fence\n```\n";
const QByteArray delta = "## ADDED Requirements\n\n### Requirement: Colour a tag\n\nNew.\n\n"
                         "## MODIFIED Requirements\n\n### Requirement：Tag a note\n\nChanged.\n\n"
                         "## REMOVED Requirements\n\n### Requirement: Merge tags\n\n**Reason**: gone.\n";

struct Row
{
    QString title;
    QString owner; // change/capability
    QString delta;
    QString fragment;
    bool archived = false;
    friend bool operator==(const Row &, const Row &) = default;
};

char *toString(const Row &row)
{
    return QTest::toString(QStringLiteral("%1 [%2] %3 #%4%5")
                               .arg(row.title, row.owner, row.delta, row.fragment,
                                    row.archived ? QStringLiteral(" archived") : QString()));
}

QList<Row> rows(const QList<QuickOpenEntry> &entries)
{
    QList<Row> result;
    for (const QuickOpenEntry &entry : entries) {
        result.append({entry.title, entry.change + QLatin1Char('/') + entry.capability,
                       entry.deltaType ? rawValue(*entry.deltaType) : QString(), entry.fragment,
                       entry.isArchived});
    }
    return result;
}

std::shared_ptr<const TreeNode> scan(const ProjectFolder &project)
{
    const std::optional<ProjectStore::LoadResult> loaded = ProjectStore::scanProject(project.url());
    return loaded ? std::make_shared<const TreeNode>(loaded->tree) : nullptr;
}

bool indexOnce(RequirementIndex &index, const ProjectFolder &project)
{
    QSignalSpy indexed(&index, &RequirementIndex::projectIndexed);
    index.updateProject(project.url(), scan(project));
    return indexed.wait(10000);
}

} // namespace

class TestRequirementIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headingIdentifiersAreThoseOfThePreview()
    {
        QCOMPARE(HeadingIdentifier::of(u"### Requirement: Tag a note"), u"requirement-tag-a-note"_qs);
        QCOMPARE(HeadingIdentifier::of(u"### Requirement：Rename  *the* Tag ###"),
                 u"requirement-rename-the-tag"_qs);
        QCOMPARE(HeadingIdentifier::of(u"## [Links](https://example.org/x) and ![pics](a.png)"),
                 u"links-and-pics"_qs);
        QCOMPARE(HeadingIdentifier::of(u"# `<code>` <b>bold</b> <https://a.b/c> &amp; &#233;t&#xE9;"),
                 u"code-bold-https-a-b-c-été"_qs);
        QCOMPARE(HeadingIdentifier::of(u"# Über Straße 2"), u"über-straße-2"_qs);
    }

    void entriesOfEveryRequirementHeading()
    {
        ProjectFolder project;
        project.write(u"kestrune/specs/tags/spec.md"_qs, specification);
        project.write(u"kestrune/specs/search.md"_qs, "## Requirements\n\n### Requirement: Find notes\n");
        project.write(u"kestrune/changes/add-colour/specs/tags/spec.md"_qs, delta);
        project.write(u"kestrune/changes/add-colour/proposal.md"_qs,
                      "### Requirement: Not a specification\n");
        project.write(u"kestrune/changes/archive/2024-05-01-old/specs/tags.md"_qs,
                      "## ADDED Requirements\n\n### Requirement: Tag a note\n");
        project.write(u"kestrune/notes.md"_qs, "### Requirement: Elsewhere\n");

        RequirementIndex index;
        QVERIFY(indexOnce(index, project));
        const QList<Row> expected = {
            {u"Colour a tag"_qs, u"add-colour/tags"_qs, u"ADDED"_qs, u"requirement-colour-a-tag"_qs, false},
            {u"Tag a note"_qs, u"add-colour/tags"_qs, u"MODIFIED"_qs, u"requirement-tag-a-note"_qs, false},
            {u"Merge tags"_qs, u"add-colour/tags"_qs, u"REMOVED"_qs, u"requirement-merge-tags"_qs, false},
            {u"Tag a note"_qs, u"2024-05-01-old/tags"_qs, u"ADDED"_qs, u"requirement-tag-a-note"_qs, true},
            {u"Tag a note"_qs, u"/tags"_qs, QString(), u"requirement-tag-a-note"_qs, false},
            {u"Rename a tag_name"_qs, u"/tags"_qs, QString(), u"requirement-rename-a-tag-name"_qs, false},
            {u"Find notes"_qs, u"/search"_qs, QString(), u"requirement-find-notes"_qs, false},
        };
        QCOMPARE(rows(index.entriesOf(project.url())), expected);
        const QuickOpenEntry first = index.entries().constFirst();
        QCOMPARE(first.target, project.urlOf(u"kestrune/changes/add-colour/specs/tags/spec.md"_qs));
        QCOMPARE(first.projectRoot, project.url());
        QCOMPARE(first.folder, u"changes/add-colour/specs/tags"_qs);
    }

    // Lines end where the preview's parser ends them: a CR LF pair or a lone carriage return
    // ends one, a line separator is text of the heading.
    void linesEndAsThePreviewReadsThem()
    {
        const QString unix = u"## Requirements\n\n### Requirement: Tag a note\n\nText.\n\n"
                             "### Requirement: Rename\u2028tags\nText.\n"_qs;
        const QUrl root = QUrl::fromLocalFile(u"/p"_qs);
        const QUrl file = QUrl::fromLocalFile(u"/p/kestrune/specs/tags/spec.md"_qs);
        const PlanningPath path = PlanningPath::of(u"specs/tags/spec.md", false);
        for (const QString &lineEnd : {u"\n"_qs, u"\r\n"_qs, u"\r"_qs}) {
            QString text = unix;
            text.replace(u'\n', lineEnd);
            const QList<Row> expected = {
                {u"Tag a note"_qs, u"/tags"_qs, QString(), u"requirement-tag-a-note"_qs, false},
                {u"Rename tags"_qs, u"/tags"_qs, QString(), u"requirement-rename-tags"_qs, false},
            };
            QCOMPARE(rows(RequirementIndex::entriesOfText(text, root, file, path)), expected);
        }
    }

    // A name given twice: each entry goes to its own heading, numbered among all the file's
    // headings as the preview numbers them, and keeps a key of its own.
    void repeatedHeadingsAreNumbered()
    {
        const QString text =
            u"# Requirement: Tag\n## Requirements\n### Requirement: Tag\n### Requirement: Tag\n"
            "```\n### Requirement: Tag\n```\n### Requirement: Untag\n"_qs;
        const QList<QuickOpenEntry> entries = RequirementIndex::entriesOfText(
            text, QUrl::fromLocalFile(u"/p"_qs), QUrl::fromLocalFile(u"/p/kestrune/specs/tags/spec.md"_qs),
            PlanningPath::of(u"specs/tags/spec.md", false));
        QStringList fragments;
        QSet<QString> keys;
        for (const QuickOpenEntry &entry : entries) {
            fragments.append(entry.fragment);
            keys.insert(entry.key());
        }
        QCOMPARE(fragments, QStringList({"requirement-tag-1", "requirement-tag-2", "requirement-untag"}));
        QCOMPARE(keys.size(), 3);
    }

    void changedFilesAreReadAgainAndVanishedOnesDropped()
    {
        ProjectFolder project;
        const QDateTime monday(QDate(2024, 5, 6), QTime(9, 0));
        project.write(u"kestrune/specs/a/spec.md"_qs, "### Requirement: Alpha\n", monday);
        project.write(u"kestrune/specs/b/spec.md"_qs, "### Requirement: Beta\n", monday);
        project.write(u"kestrune/changes/c/specs/b/spec.md"_qs,
                      "## ADDED Requirements\n### Requirement: Gamma\n", monday);
        RequirementIndex index;
        QVERIFY(indexOnce(index, project));
        QCOMPARE(index.filesReadLastTime(project.url()), 3);

        // Nothing changed: nothing read.
        QVERIFY(indexOnce(index, project));
        QCOMPARE(index.filesReadLastTime(project.url()), 0);
        QCOMPARE(index.entriesOf(project.url()).size(), 3);

        // One file edited, one deleted, one added.
        project.write(u"kestrune/specs/a/spec.md"_qs, "### Requirement: Alpha two\n", monday.addSecs(60));
        QVERIFY(QFile::remove(project.pathOf(u"kestrune/specs/b/spec.md"_qs)));
        project.write(u"kestrune/specs/d.md"_qs, "### Requirement: Delta\n", monday);
        QVERIFY(indexOnce(index, project));
        QCOMPARE(index.filesReadLastTime(project.url()), 2);
        QStringList titles;
        for (const QuickOpenEntry &entry : index.entriesOf(project.url()))
            titles.append(entry.title);
        QCOMPARE(titles, (QStringList{u"Gamma"_qs, u"Alpha two"_qs, u"Delta"_qs}));

        index.removeProject(project.url());
        QVERIFY(index.entries().isEmpty());
    }

    void badFilesGiveNoEntriesAndBreakNothing()
    {
        ProjectFolder project;
        project.write(u"kestrune/specs/latin1.md"_qs, "### Requirement: Caf\xe9\n");
        project.write(u"kestrune/specs/binary.md"_qs, QByteArray("### Requirement: Zero\n\0\x01", 25));
        project.write(u"kestrune/specs/good.md"_qs, "### Requirement: Good\n");
        project.write(u"kestrune/specs/gone.md"_qs, "### Requirement: Gone\n");
        const std::shared_ptr<const TreeNode> tree = scan(project);
        // Vanishes between the scan and the read.
        QVERIFY(QFile::remove(project.pathOf(u"kestrune/specs/gone.md"_qs)));
        RequirementIndex index;
        QSignalSpy indexed(&index, &RequirementIndex::projectIndexed);
        index.updateProject(project.url(), tree);
        QVERIFY(indexed.wait(10000));
        QCOMPARE(rows(index.entriesOf(project.url())).size(), 1);
        QCOMPARE(index.entriesOf(project.url()).constFirst().title, u"Good"_qs);
    }

    void followsTheStoresPublications()
    {
        ProjectFolder project;
        project.write(u"kestrune/specs/a/spec.md"_qs, "### Requirement: Alpha\n");
        ProjectStore store;
        RequirementIndex index;
        index.follow(store);
        store.importProject(project.url());
        QTRY_COMPARE_WITH_TIMEOUT(index.entriesOf(project.url()).size(), 1, 10000);

        // A refresh publishes a new tree; an update asked for while one runs is not lost.
        project.write(u"kestrune/specs/a/spec.md"_qs, "### Requirement: Alpha\n### Requirement: Beta\n",
                      QDateTime::currentDateTime().addSecs(5));
        store.refreshProject(project.url());
        store.refreshProject(project.url());
        QTRY_COMPARE_WITH_TIMEOUT(index.entriesOf(project.url()).size(), 2, 10000);

        store.removeProject(project.url());
        QVERIFY(index.entries().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRequirementIndex)
#include "tst_requirementindex.moc"
