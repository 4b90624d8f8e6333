// The review of a change against the specifications of an earlier commit, and a requirement's
// history, read from repositories made with the git library: what the page is handed, what it
// shows, and that the repository is only read.
#include "app/detailarea.h"
#include "app/detailviewfactory.h"
#include "app/reviewhistory.h"
#include "app/reviewsession.h"
#include "changestory.h"
#include "historyreading.h"
#include "preview/capabilitysection.h"
#include "preview/changereviewview.h"
#include "preview/requirementcard.h"
#include "preview/requirementhistorypopup.h"
#include "project/localfilesystem.h"
#include "project/projectstore.h"
#include "text/backgroundpool.h"
#include "ui/localization.h"

#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>

using namespace kestrune;

namespace {

// A change proposing a requirement the specification has taken in since (applied before the
// change is archived): against the files on disk it exists already, against the commit before
// the change it is new.
struct ColoursStory
{
    QString start;
    QString described; // the commit the change was proposed on
    QString proposed;
    QString applied;

    static ColoursStory write(TestRepository &repository)
    {
        ColoursStory story;
        repository.write("kestrune/specs/tagging/spec.md",
                         "# Tagging\n\n## Requirements\n\n### Requirement: Tags\n\nNotes MAY have tags.\n");
        story.start = repository.commit("Start the specifications");
        repository.write("README.md", "A project.\n");
        story.described = repository.commit("Describe the project");
        repository.write("kestrune/changes/add-colours/proposal.md", "# Add colours\n");
        repository.write("kestrune/changes/add-colours/specs/tagging/spec.md",
                         "## ADDED Requirements\n\n### Requirement: Colours\n\nTags MAY have colours.\n");
        story.proposed = repository.commit("Propose colours");
        repository.write("kestrune/specs/tagging/spec.md",
                         "# Tagging\n\n## Requirements\n\n### Requirement: Tags\n\nNotes MAY have tags.\n\n"
                         "### Requirement: Colours\n\nTags MAY have colours.\n");
        story.applied = repository.commit("Apply colours");
        return story;
    }
};

// Every file below the repository's .git folder with its size and modification time.
QStringList gitFolderState(const TestRepository &repository)
{
    QStringList state;
    QDirIterator files(repository.gitFolder(), QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QFileInfo file(files.next());
        state.append(QStringLiteral("%1 %2 %3")
                         .arg(file.filePath())
                         .arg(file.size())
                         .arg(file.lastModified().toMSecsSinceEpoch()));
    }
    state.sort();
    return state;
}

void finishWork()
{
    BackgroundPool::instance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

QUrl urlOf(const TestRepository &repository, const QString &relative)
{
    return QUrl::fromLocalFile(repository.pathOf(relative));
}

} // namespace

class TestReviewHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Localization::install(qApp, QLocale(QLocale::English)); }
    void anEarlierBaselineGivesThatBaselinesReview();
    void baselinesAreTheChangesAndItsSpecificationsCommits();
    void theSessionReviewsAgainstTheChosenCommit();
    void aProjectOutsideGitHasNoCompareChoice();
    void requirementHistoryNamesAndOpensTheArchivedChange();
    void nothingInTheGitFolderChanges();
};

void TestReviewHistory::anEarlierBaselineGivesThatBaselinesReview()
{
    TestRepository repository;
    const ColoursStory story = ColoursStory::write(repository);
    const QUrl root = QUrl::fromLocalFile(repository.path());
    const QUrl change = urlOf(repository, QStringLiteral("kestrune/changes/add-colours"));
    const LocalFileSystem disk;

    const ReviewHistory::Comparison now = ReviewHistory::reviewAt(disk, root, change, QString());
    QVERIFY(!now.baseline);
    QCOMPARE(now.review.capabilities.size(), 1);
    const RequirementReview colours = now.review.capabilities.at(0).requirements.at(0);
    QCOMPARE(colours.name, QStringLiteral("Colours"));
    QVERIFY(colours.flags & ReviewFlag::existsInSpecification);

    const ReviewHistory::Comparison then = ReviewHistory::reviewAt(disk, root, change, story.start.left(8));
    QVERIFY(then.baseline);
    QCOMPARE(then.baseline->commit, story.start);
    QCOMPARE(then.baseline->subject, QStringLiteral("Start the specifications"));
    const RequirementReview added = then.review.capabilities.at(0).requirements.at(0);
    QCOMPARE(added.flags, ReviewFlags());
    QCOMPARE(added.state, RequirementState::pending);
    QCOMPARE(added.hunks.size(), 1);
    QCOMPARE(added.hunks.at(0).operation, DiffOperation::insert);
    QVERIFY(then.review.capabilities.at(0).specificationFile); // the capability existed then too
    QVERIFY(!then.review.capabilities.at(0).specification->sections.isEmpty());

    // A commit that is not there: the files on disk.
    const ReviewHistory::Comparison unknown =
        ReviewHistory::reviewAt(disk, root, change, QStringLiteral("f00d"));
    QVERIFY(!unknown.baseline);
    QVERIFY(unknown.review.capabilities.at(0).requirements.at(0).flags & ReviewFlag::existsInSpecification);
}

void TestReviewHistory::baselinesAreTheChangesAndItsSpecificationsCommits()
{
    TestRepository repository;
    const ColoursStory story = ColoursStory::write(repository);
    repository.write("kestrune/changes/add-colours/tasks.md", "- [ ] paint\n");
    const QString tasks = repository.commit("Plan colours");
    repository.write("README.md", "A project, described.\n");
    const QString head = repository.commit("Describe the project again");

    const std::optional<QList<ReviewBaseline>> baselines = ReviewHistory::baselinesOf(
        repository.path(), repository.pathOf(QStringLiteral("kestrune/changes/add-colours")));
    QVERIFY(baselines);
    QStringList commits;
    QStringList before;
    for (const ReviewBaseline &baseline : *baselines) {
        commits.append(baseline.commit);
        if (baseline.beforeChange)
            before.append(baseline.commit);
    }
    // Newest first: HEAD, the change's commits, the specification's and the one the change was
    // proposed on, though it touched neither; not the other README commit.
    QCOMPARE(commits,
             QStringList({head, tasks, story.applied, story.proposed, story.described, story.start}));
    QCOMPARE(before, QStringList({story.described}));
    QCOMPARE(baselines->at(1).subject, QStringLiteral("Plan colours"));
    QVERIFY(baselines->at(0).time > baselines->at(1).time);
}

void TestReviewHistory::theSessionReviewsAgainstTheChosenCommit()
{
    TestRepository repository;
    const ColoursStory story = ColoursStory::write(repository);
    const ProjectStore store;
    ReviewSession session(store);
    QSignalSpy compared(&session, &ReviewSession::compared);
    const QUrl root = QUrl::fromLocalFile(repository.path());
    session.open(root, urlOf(repository, QStringLiteral("kestrune/changes/add-colours")));
    QTRY_VERIFY(session.baselines().has_value());
    QTRY_COMPARE(compared.size(), 1);
    QVERIFY(!session.reviewBaseline());
    DetailArea area(std::make_unique<DetailViewFactory>());
    area.resize(1000, 700);
    session.showIn(area, root);
    auto *view = qobject_cast<ChangeReviewView *>(area.currentView());
    QVERIFY(view);
    QVERIFY(!view->baselineChoice()->isHidden());
    QVERIFY(view->baselineLabel()->isHidden());
    QVERIFY(view->sections().at(0)->cards().at(0)->findingTexts().contains(
        QStringLiteral("The specification already has a requirement of this name.")));

    // Two choices in a row: the last one wins.
    QComboBox *choice = view->baselineChoice();
    const int before = choice->findData(story.described);
    QVERIFY(choice->itemText(before).contains(QStringLiteral("before this change was proposed")));
    Q_EMIT choice->activated(choice->findData(story.proposed));
    choice->setCurrentIndex(before);
    Q_EMIT choice->activated(before);
    QTRY_VERIFY(session.reviewBaseline());
    finishWork();
    QCOMPARE(session.reviewBaseline()->commit, story.described);
    QVERIFY(session.reviewBaseline()->beforeChange);
    session.showIn(area, root);
    QCOMPARE(area.currentView(), view); // the same page, given the new review
    QCOMPARE(view->input().baseline->commit, story.described);
    QVERIFY(!view->baselineLabel()->isHidden());
    QVERIFY(view->baselineLabel()->text().contains(story.described.left(7)));
    QCOMPARE(view->sections().at(0)->cards().at(0)->findingTexts(), QStringList());
    QVERIFY(view->sections().at(0)->cards().at(0)->hasDifferences());

    // The project's files change: compared again with the same commit.
    session.compareAgain(root);
    finishWork();
    QCOMPARE(session.reviewBaseline()->commit, story.described);

    // Back to the current specifications.
    Q_EMIT choice->activated(0);
    QTRY_VERIFY(!session.reviewBaseline());
}

void TestReviewHistory::aProjectOutsideGitHasNoCompareChoice()
{
    const QTemporaryDir folder;
    QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("kestrune/changes/add-colours/specs/tagging"))));
    QFile delta(folder.filePath(QStringLiteral("kestrune/changes/add-colours/specs/tagging/spec.md")));
    QVERIFY(delta.open(QIODevice::WriteOnly));
    delta.write("## ADDED Requirements\n\n### Requirement: Colours\n\nTags MAY have colours.\n");
    delta.close();
    const QString change = folder.filePath(QStringLiteral("kestrune/changes/add-colours"));
    QVERIFY(!ReviewHistory::baselinesOf(folder.path(), change));

    const ProjectStore store;
    ReviewSession session(store);
    QSignalSpy compared(&session, &ReviewSession::compared);
    const QUrl root = QUrl::fromLocalFile(folder.path());
    session.open(root, QUrl::fromLocalFile(change));
    QTRY_COMPARE(compared.size(), 1);
    finishWork();
    QVERIFY(!session.baselines());
    DetailArea area(std::make_unique<DetailViewFactory>());
    session.showIn(area, root);
    auto *view = qobject_cast<ChangeReviewView *>(area.currentView());
    QVERIFY(view);
    QVERIFY(view->baselineChoice()->isHidden());
    QVERIFY(view->findChildren<QComboBox *>().size() == 1); // the hidden choice only
    for (QToolButton *button : view->findChildren<QToolButton *>(QStringLiteral("requirementHistory")))
        QVERIFY(button->isHidden());
}

void TestReviewHistory::requirementHistoryNamesAndOpensTheArchivedChange()
{
    TestRepository repository;
    ChangeStory::write(repository);
    const QString archive =
        QStringLiteral("kestrune/changes/archive/") + QLatin1String(ChangeStory::archiveFolder);
    const QList<RequirementHistoryItem> items = ReviewHistory::itemsOf(
        readRequirementHistory(repository.path(),
                               repository.pathOf(QStringLiteral("kestrune/specs/tagging/spec.md")),
                               QStringLiteral("Tags"))
            .entries,
        repository.path());
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0).archivedChange, QLatin1String(ChangeStory::archiveFolder));
    QCOMPARE(items.at(0).changeFolder, urlOf(repository, archive));
    QCOMPARE(items.at(0).kind, DeltaSpecType::modified);
    QCOMPARE(items.at(1).kind, DeltaSpecType::added);
    QVERIFY(!items.at(1).changeFolder);

    // On the page: the card's History lists it, and choosing it asks for that change's review.
    const ProjectStore store;
    ReviewSession session(store);
    QSignalSpy compared(&session, &ReviewSession::compared);
    QSignalSpy reviewRequested(&session, &ReviewSession::reviewRequested);
    const QUrl root = QUrl::fromLocalFile(repository.path());
    session.open(root, urlOf(repository, archive));
    QTRY_COMPARE(compared.size(), 1);
    QTRY_VERIFY(session.baselines().has_value());
    QWidget window;
    window.resize(1000, 700);
    auto *area = new DetailArea(std::make_unique<DetailViewFactory>(), &window);
    area->resize(window.size());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    session.showIn(*area, root);
    auto *view = qobject_cast<ChangeReviewView *>(area->currentView());
    QVERIFY(view);
    RequirementCard *card = view->sections().at(0)->cards().at(0);
    QCOMPARE(card->requirement().name, QStringLiteral("Tags"));
    QVERIFY(!card->historyButton()->isHidden());
    QTest::mouseClick(card->historyButton(), Qt::LeftButton);
    auto *popup = window.findChild<RequirementHistoryPopup *>();
    QVERIFY(popup);
    QTRY_VERIFY(popup->isFinished());
    QCOMPARE(popup->list()->count(), 2);
    QVERIFY(
        popup->list()->item(0)->text().contains(QStringLiteral("archived change 2026-03-02-add-tagging")));
    QVERIFY(popup->list()->item(0)->text().contains(QStringLiteral("Archive tagging")));
    popup->list()->setCurrentRow(0);
    QTest::keyClick(popup->filterField(), Qt::Key_Return);
    QCOMPARE(reviewRequested.size(), 1);
    QCOMPARE(reviewRequested.at(0).at(0).toUrl(), urlOf(repository, archive));
}

void TestReviewHistory::nothingInTheGitFolderChanges()
{
    TestRepository repository;
    const ColoursStory story = ColoursStory::write(repository);
    ChangeStory::write(repository);
    const QStringList before = gitFolderState(repository);
    QVERIFY(before.size() > 10);

    const QUrl root = QUrl::fromLocalFile(repository.path());
    const QString change = repository.pathOf(QStringLiteral("kestrune/changes/add-colours"));
    QVERIFY(ReviewHistory::baselinesOf(repository.path(), change));
    const LocalFileSystem disk;
    QVERIFY(ReviewHistory::reviewAt(disk, root, QUrl::fromLocalFile(change), story.start).baseline);
    RequirementHistoryPopup popup(QStringLiteral("Tags"));
    ReviewHistory::feed(popup, root, urlOf(repository, QStringLiteral("kestrune/specs/tagging/spec.md")),
                        QStringLiteral("Tags"));
    QTRY_VERIFY(popup.isFinished());
    finishWork();
    QCOMPARE(gitFolderState(repository), before);
}

QTEST_MAIN(TestReviewHistory)
#include "tst_reviewhistory.moc"
