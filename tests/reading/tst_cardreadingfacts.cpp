// What the dashboard's cards say moved since the reader last looked: tasks ticked since then, a
// change that did not exist then, a specification whose requirements changed (and not one whose
// text only changed).
#include "reading/cardreadingfacts.h"
#include "reading/readingstore.h"

#include "project/projectstore.h"
#include "projectfolder.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kestrune;

namespace {

const QString change = QStringLiteral("kestrune/changes/add-login");
const QString tasks = change + QStringLiteral("/tasks.md");
const QString specification = QStringLiteral("kestrune/specs/login/spec.md");
const QDateTime written = QDateTime::fromMSecsSinceEpoch(1'700'000'000'000);
const QDateTime later = written.addSecs(3600);

const QByteArray specificationText = "# Login\n\n"
                                     "### Requirement: Sign in\n\nText.\n\n"
                                     "### Requirement: Sign out\n\nText.\n\n"
                                     "```md\n### Requirement: Only an example\n```\n";

} // namespace

class TestCardReadingFacts : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_state;
    std::unique_ptr<ProjectFolder> m_project;
    std::unique_ptr<ReadingStore> m_store;

    CardReadingFacts facts()
    {
        const auto scanned = ProjectStore::scanProject(m_project->url());
        QSignalSpy computed(m_store.get(), &ReadingStore::marksComputed);
        m_store->computeMarks(std::make_shared<const TreeNode>(scanned->tree));
        if (!computed.wait(10000))
            return {};
        return computed.last().at(1).value<CardReadingFacts>();
    }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<QTemporaryDir>();
        m_project = std::make_unique<ProjectFolder>();
        m_project->write(change + QStringLiteral("/proposal.md"), "# Add login\n", written);
        m_project->write(tasks, "- [x] one\n- [ ] two\n- [ ] three\n- [ ] four\n", written);
        m_project->write(specification, specificationText, written);
        m_store = std::make_unique<ReadingStore>(m_project->path(), m_state->path());
        QSignalSpy loaded(m_store.get(), &ReadingStore::loaded);
        m_store->load();
        QVERIFY(loaded.wait(10000));
        QSignalSpy baseline(m_store.get(), &ReadingStore::firstImportRecorded);
        const CardReadingFacts first = facts();
        QVERIFY(baseline.count() == 1 || baseline.wait(10000));
        QCOMPARE(first.changes.value(change), (ChangeReadingFacts{change, false, 0}));
        QVERIFY(first.specifications.isEmpty());
    }

    void cleanup()
    {
        m_store.reset();
        m_project.reset();
    }

    void tasksTickedSinceTheLastLookAreCounted()
    {
        m_project->write(tasks, "- [x] one\n- [x] two\n- [ ] three\n- [x] four\n", later);
        QCOMPARE(facts().changes.value(change), (ChangeReadingFacts{change, false, 2}));

        // Once the task list is seen as it is, nothing is new again.
        QSignalSpy recorded(m_store.get(), &ReadingStore::seenRecorded);
        m_store->markSeen(tasks, "- [x] one\n- [x] two\n- [ ] three\n- [x] four\n", later);
        QVERIFY(recorded.wait(10000));
        QCOMPARE(facts().changes.value(change).tasksDoneSinceLastLook, 0);

        // Unticking is not negative work done.
        m_project->write(tasks, "- [ ] one\n- [ ] two\n- [ ] three\n- [ ] four\n", later.addSecs(60));
        QCOMPARE(facts().changes.value(change).tasksDoneSinceLastLook, 0);
    }

    void aChangeThatDidNotExistIsNew()
    {
        const QString logout = QStringLiteral("kestrune/changes/add-logout");
        m_project->write(logout + QStringLiteral("/proposal.md"), "# Add logout\n", later);
        m_project->write(logout + QStringLiteral("/tasks.md"), "- [x] one\n", later);
        const CardReadingFacts now = facts();
        QVERIFY(now.changes.value(logout).isNew);
        QVERIFY(!now.changes.value(change).isNew);
        // A new file in an existing change does not make the change new.
        m_project->write(change + QStringLiteral("/design.md"), "# Design\n", later);
        QVERIFY(!facts().changes.value(change).isNew);
    }

    void aSpecificationWhoseRequirementsChanged()
    {
        QByteArray text = specificationText;
        text.replace("Sign out", "Reset password");
        m_project->write(specification, text, later);
        const SpecificationReadingFacts changed = facts().specifications.value(specification);
        QVERIFY(changed.requirementsChanged);
        QCOMPARE(changed.addedRequirements, QStringList{QStringLiteral("Reset password")});
        QCOMPARE(changed.removedRequirements, QStringList{QStringLiteral("Sign out")});
    }

    void aSpecificationWhoseTextOnlyChangedIsNotMarked()
    {
        QByteArray text = specificationText;
        text.replace("Text.", "Other words.");
        text.replace("Only an example", "Another example"); // inside fenced code: no requirement
        m_project->write(specification, text, later);
        QVERIFY(facts().specifications.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCardReadingFacts)
#include "tst_cardreadingfacts.moc"
