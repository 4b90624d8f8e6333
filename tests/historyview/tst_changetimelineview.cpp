#include "changestory.h"
#include "historyreading.h"
#include "text/backgroundpool.h"

#include "historyview/changetimelinemodel.h"
#include "historyview/changetimelineview.h"
#include "historyview/timelinerowdelegate.h"
#include "ui/localization.h"
#include "ui/noticebar.h"
#include "ui/themecolors.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QDirIterator>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <memory>

using namespace kestrune;

namespace {

QString archivedFolderOf(const TestRepository &repository)
{
    return repository.pathOf(QStringLiteral("kestrune/changes/archive/") + ChangeStory::archiveFolder);
}

ChangeTimelineInput inputOf(const TestRepository &repository, const QString &changeFolder)
{
    return {repository.path(), changeFolder, QFileInfo(changeFolder).fileName()};
}

QStringList column(const ChangeTimelineModel &model, int role)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts.append(model.index(row).data(role).toString());
    return texts;
}

// A change whose tasks are ticked in many commits: long enough a timeline to arrive in batches.
void writeLongStory(TestRepository &repository, int commits)
{
    repository.write("kestrune/changes/long/proposal.md", "# Long\n");
    repository.commit("Propose the long change");
    for (int commit = 1; commit <= commits; ++commit) {
        QByteArray tasks = "# Tasks\n";
        for (int task = 0; task < commits; ++task)
            tasks += task < commit ? "- [x] step\n" : "- [ ] step\n";
        repository.write("kestrune/changes/long/tasks.md", tasks);
        repository.commit("Tick step " + QByteArray::number(commit));
    }
}

} // namespace

class TestChangeTimelineView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void listsTheLifeOfAChangeNewestFirst();
    void rowsArriveInBatchesAndClosingStopsTheRead();
    void anotherChangeCancelsTheReadInFlight();
    void readingAgainKeepsTheRowsUntilTheNewOnes();
    void corruptObjectGivesAPartialTimelineAndANotice();
    void projectOutsideGitSaysWhy();
    void paintsTheTimelineInBothAppearances_data();
    void paintsTheTimelineInBothAppearances();
};

void TestChangeTimelineView::initTestCase()
{
    Localization::install(qApp, QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestChangeTimelineView::listsTheLifeOfAChangeNewestFirst()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    const QStringList gitBefore = snapshotOf(repository.gitFolder());
    ChangeTimelineView view(inputOf(repository, archivedFolderOf(repository)));
    QSignalSpy finished(&view, &ChangeTimelineView::finished);
    QVERIFY(finished.wait());

    const ChangeTimelineModel &model = *view.model();
    QCOMPARE(column(model, ChangeTimelineModel::shaRole),
             QStringList({story.archived, story.ticked[2], story.ticked[1], story.ticked[0], story.edited,
                          story.proposed}));
    QCOMPARE(
        column(model, ChangeTimelineModel::whatRole),
        QStringList({"Archived → 2026-03-02-add-tagging", "Tasks ticked 2 → 3 of 3",
                     "Tasks ticked 1 → 2 of 3", "Tasks ticked 0 → 1 of 3",
                     "Proposal edited, Design added, Delta spec tagging added, Task list added", "Created"}));
    QCOMPARE(model.index(5).data(ChangeTimelineModel::subjectRole).toString(),
             QStringLiteral("Propose tagging"));
    QCOMPARE(model.index(5).data(ChangeTimelineModel::authorRole).toString(), QStringLiteral("Ada Example"));
    QCOMPARE(model.index(5).data(ChangeTimelineModel::dateRole).toString(), QStringLiteral("2026-03-02"));
    QCOMPARE(
        model.index(0).data(ChangeTimelineModel::filesRole).toString(),
        QStringLiteral("kestrune/changes/add-tagging → kestrune/changes/archive/2026-03-02-add-tagging"));
    QCOMPARE(model.index(4).data(ChangeTimelineModel::filesRole).toString(),
             QStringLiteral("design.md, proposal.md, specs/tagging/spec.md, tasks.md"));
    const QString spoken = model.index(1).data(Qt::AccessibleTextRole).toString();
    QVERIFY2(spoken.contains(QStringLiteral("Tick a tagging task")) &&
                 spoken.contains(QStringLiteral("2 → 3 of 3")) && spoken.contains(QStringLiteral("tasks.md")),
             qPrintable(spoken));

    // The rows take the keyboard from the first one on, and say what they are.
    QCOMPARE(view.focusProxy(), view.listView());
    QCOMPARE(view.listView()->currentIndex().row(), 0);
    QCOMPARE(view.listView()->accessibleName(), QStringLiteral("History of 2026-03-02-add-tagging"));
    QVERIFY(!view.notice()->isVisibleTo(&view));
    QCOMPARE(view.outcome()->end, HistoryOutcome::End::complete);
    QCOMPARE(snapshotOf(repository.gitFolder()), gitBefore);
}

void TestChangeTimelineView::rowsArriveInBatchesAndClosingStopsTheRead()
{
    TestRepository repository;
    writeLongStory(repository, 150);
    const QString folder = repository.pathOf(QStringLiteral("kestrune/changes/long"));
    {
        ChangeTimelineView view(inputOf(repository, folder));
        QSignalSpy shown(&view, &ChangeTimelineView::rowsShown);
        QSignalSpy finished(&view, &ChangeTimelineView::finished);
        QVERIFY(shown.wait());
        // The first commit found comes alone, before the walk goes on.
        QCOMPARE(shown.constFirst().constFirst().toInt(), 1);
        QVERIFY(finished.wait());
        QVERIFY(shown.count() >= 2);
        QCOMPARE(view.model()->rowCount(), 151);
        QVERIFY(!view.isReading());
    }

    // Closed before its first row: the read is cancelled and the pool is left with nothing.
    auto view = std::make_unique<ChangeTimelineView>(inputOf(repository, folder));
    const QFuture<ChangeTimelineBatch> reading = view->reading();
    QVERIFY(view->isReading());
    view.reset();
    QVERIFY(reading.isCanceled());
    QTRY_VERIFY(reading.isFinished());
    QVERIFY(BackgroundPool::instance()->waitForDone(5000));
    QVERIFY(BackgroundPool::yielding()->waitForDone(5000));
    qsizetype delivered = 0;
    for (const ChangeTimelineBatch &batch : reading.results())
        delivered += batch.entries.size();
    QVERIFY2(delivered < 151, qPrintable(QString::number(delivered)));
}

void TestChangeTimelineView::anotherChangeCancelsTheReadInFlight()
{
    TestRepository repository;
    writeLongStory(repository, 60);
    ChangeStory::write(repository);
    ChangeTimelineView view(inputOf(repository, repository.pathOf(QStringLiteral("kestrune/changes/long"))));
    const QFuture<ChangeTimelineBatch> first = view.reading();
    QSignalSpy finished(&view, &ChangeTimelineView::finished);
    view.setInput(inputOf(repository, archivedFolderOf(repository)));
    QVERIFY(first.isCanceled() || first.isFinished());
    QVERIFY(finished.wait());
    QCOMPARE(finished.count(), 1);
    // Only the second change's rows, never a row of the first.
    QCOMPARE(view.model()->rowCount(), 6);
    QCOMPARE(view.model()->index(5).data(ChangeTimelineModel::whatRole).toString(),
             QStringLiteral("Created"));
}

void TestChangeTimelineView::readingAgainKeepsTheRowsUntilTheNewOnes()
{
    TestRepository repository;
    ChangeStory::write(repository);
    repository.write("kestrune/changes/draft/proposal.md", "# Draft\n");
    repository.commit("Propose a draft");
    ChangeTimelineView view(inputOf(repository, repository.pathOf(QStringLiteral("kestrune/changes/draft"))));
    QSignalSpy finished(&view, &ChangeTimelineView::finished);
    QVERIFY(finished.wait());
    QCOMPARE(view.model()->rowCount(), 1);

    repository.write("kestrune/changes/draft/design.md", "# Design\n");
    const QString designed = repository.commit("Design the draft");
    view.reload();
    QCOMPARE(view.model()->rowCount(), 1); // until the new read's first batch
    QVERIFY(finished.wait());
    QCOMPARE(column(*view.model(), ChangeTimelineModel::whatRole), QStringList({"Design added", "Created"}));
    QCOMPARE(view.model()->index(0).data(ChangeTimelineModel::shaRole).toString(), designed);
}

void TestChangeTimelineView::corruptObjectGivesAPartialTimelineAndANotice()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    QVERIFY(QFile::remove(repository.looseObjectPath(story.edited)));
    ChangeTimelineView view(inputOf(repository, archivedFolderOf(repository)));
    QSignalSpy finished(&view, &ChangeTimelineView::finished);
    QVERIFY(finished.wait());
    QVERIFY(view.outcome()->isPartial());
    QVERIFY(view.model()->rowCount() > 0);
    QVERIFY(view.listView()->isVisibleTo(&view));
    QVERIFY(view.notice()->isVisibleTo(&view));
}

void TestChangeTimelineView::projectOutsideGitSaysWhy()
{
    QTemporaryDir project;
    QVERIFY(QDir(project.path()).mkpath(QStringLiteral("kestrune/changes/lonely")));
    ChangeTimelineView view({project.path(), project.path() + QStringLiteral("/kestrune/changes/lonely"),
                             QStringLiteral("lonely")});
    QSignalSpy finished(&view, &ChangeTimelineView::finished);
    QVERIFY(finished.wait());
    QCOMPARE(view.placeholderText(), Localization::text("history.unavailable.no_repository"));
    QCOMPARE(view.model()->rowCount(), 0);
    QVERIFY(!QDir(project.path() + QStringLiteral("/.git")).exists());
}

void TestChangeTimelineView::paintsTheTimelineInBothAppearances_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::addRow("light") << Appearance::light;
    QTest::addRow("dark") << Appearance::dark;
}

void TestChangeTimelineView::paintsTheTimelineInBothAppearances()
{
    QFETCH(Appearance, appearance);
    TestRepository repository;
    ChangeStory::write(repository);
    ChangeTimelineView view(inputOf(repository, archivedFolderOf(repository)));
    view.setPalette(ThemeController::paletteFor(appearance));
    view.resize(640, 600);
    QSignalSpy finished(&view, &ChangeTimelineView::finished);
    QVERIFY(finished.wait());
    view.listView()->clearSelection();
    view.listView()->setCurrentIndex(QModelIndex());

    QImage image = view.grab().toImage();
    image.setDevicePixelRatio(1);
    const QListView *list = view.listView();
    const QRect archived =
        list->visualRect(view.model()->index(0)).translated(list->viewport()->mapTo(&view, QPoint()));
    const QRect ticked =
        list->visualRect(view.model()->index(1)).translated(list->viewport()->mapTo(&view, QPoint()));
    const auto near = [](const QColor &a, const QColor &b) {
        return std::abs(a.red() - b.red()) <= 24 && std::abs(a.green() - b.green()) <= 24 &&
               std::abs(a.blue() - b.blue()) <= 24;
    };
    // The dots of the line: the archive in the completed colour, a tick in the accent.
    const auto dotCentre = [](const QRect &row) {
        return QPoint(row.left() + TimelineRowDelegate::gutterWidth / 2,
                      row.top() + TimelineRowDelegate::paddingV +
                          QFontMetrics(QApplication::font()).height() / 2 + 1);
    };
    const QColor archiveDot = image.pixelColor(dotCentre(archived));
    QVERIFY2(near(archiveDot, ThemeColors::completedAccent.resolve(appearance)),
             qPrintable(archiveDot.name()));
    const QColor tickDot = image.pixelColor(dotCentre(ticked));
    QVERIFY2(near(tickDot, ThemeColors::accent.resolve(appearance)), qPrintable(tickDot.name()));

    // The subject's ink stands out from the background the row lies on, dark on light and light
    // on dark.
    const QRect subject(ticked.left() + TimelineRowDelegate::gutterWidth,
                        ticked.top() + TimelineRowDelegate::paddingV, 120, 14);
    int inked = 0;
    for (int y = subject.top(); y <= subject.bottom(); ++y) {
        for (int x = subject.left(); x <= subject.right(); ++x) {
            const int lightness = image.pixelColor(x, y).lightness();
            inked += appearance == Appearance::light ? lightness < 110 : lightness > 170;
        }
    }
    QVERIFY2(inked > 40, qPrintable(QString::number(inked)));
}

QTEST_MAIN(TestChangeTimelineView)
#include "tst_changetimelineview.moc"
