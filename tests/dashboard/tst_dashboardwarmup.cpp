// The dashboard's warm-up: after it, a page's first paint draws no symbol for the first time, in
// either appearance; the warm-up leaves nothing behind but what it loaded.
#include "recordingfolderactions.h"

#include "dashboard/dashboardpalette.h"
#include "dashboard/dashboardview.h"
#include "dashboard/dashboardwarmup.h"
#include "ui/symbolicon.h"
#include "ui/themecontroller.h"
#include "ui/warmupqueue.h"

#include <QApplication>
#include <QStyle>
#include <QTest>
#include <QTimer>

using namespace kestrune;

Q_DECLARE_METATYPE(kestrune::Appearance)

namespace {

ChangeSummary change(const QString &name, ChangeStatus status)
{
    ChangeSummary summary;
    summary.id = QUuid::createUuid();
    summary.changeName = name;
    summary.changeDirectoryURL =
        QUrl::fromLocalFile(QStringLiteral("/projects/shop/kestrune/changes/") + name);
    summary.status = status;
    summary.hasProposal = true;
    return summary;
}

// A project unlike the warm-up's sample: other names, counts, stages and dates, several cards a
// section.
ProjectSummary projectSummary()
{
    ProjectSummary summary;
    for (int index = 0; index < 3; ++index) {
        ChangeSummary draft = change(QStringLiteral("draft-%1").arg(index), ChangeStatus::draft);
        draft.currentDraftStage = WorkflowStage(index % 4);
        summary.changeSummaries.append(draft);
        ChangeSummary active =
            change(QStringLiteral("add-payment-provider-%1").arg(index), ChangeStatus::active);
        active.workflowStage = WorkflowStage(index % 4);
        active.hasTasks = index > 0;
        active.taskProgressPercent = 30 * index;
        active.hasDesign = index > 1;
        summary.changeSummaries.append(active);
        ChangeSummary completed = change(QStringLiteral("finish-%1").arg(index), ChangeStatus::completed);
        completed.hasTasks = true;
        completed.taskProgressPercent = 100;
        if (index > 0)
            completed.completedAt = QDateTime(QDate(2025, 1, 3 + index), QTime(9, 30));
        summary.changeSummaries.append(completed);
        ChangeSummary archived =
            change(QStringLiteral("2025-02-0%1-old-change").arg(index + 1), ChangeStatus::archived);
        if (index > 0)
            archived.archivedAt = QDateTime(QDate(2025, 2, index), QTime(8, 0));
        summary.changeSummaries.append(archived);
    }
    summary.totalChanges = summary.changeSummaries.size();
    summary.draftCount = 3;
    summary.activeChanges = 3;
    summary.archivedChanges = 3;
    summary.specNames = {QStringLiteral("billing"), QStringLiteral("checkout"), QStringLiteral("search")};
    summary.specRequirementCounts = {
        {QStringLiteral("billing"), 12}, {QStringLiteral("checkout"), 1}, {QStringLiteral("search"), 0}};
    summary.specCount = 3;
    summary.specReqsCount = 13;
    return summary;
}

DashboardInput input()
{
    return {QStringLiteral("shop"), projectSummary(), QUrl::fromLocalFile(QStringLiteral("/projects/shop"))};
}

QImage firstPaint(RecordingFolderActions::Log *log)
{
    DashboardView view(input(), std::make_unique<RecordingFolderActions>(log));
    view.resize(1100, 1600);
    return view.grab().toImage();
}

void warmUp()
{
    WarmUpQueue queue;
    DashboardWarmUp::addTo(queue);
    queue.start();
    QTRY_VERIFY(queue.isFinished());
}

} // namespace

class TestDashboardWarmUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QApplication::setPalette(ThemeController::paletteFor(Appearance::light)); }
    void firstPaintDrawsNoNewSymbol_data();
    void firstPaintDrawsNoNewSymbol();
    void warmUpLeavesNothingBehind();
    void warmUpYieldsBetweenItsSamples();

private:
    RecordingFolderActions::Log m_log;
};

void TestDashboardWarmUp::firstPaintDrawsNoNewSymbol_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::addRow("light") << Appearance::light;
    QTest::addRow("dark") << Appearance::dark;
}

void TestDashboardWarmUp::firstPaintDrawsNoNewSymbol()
{
    QFETCH(Appearance, appearance);
    // The warm-up draws in the application's appearance, as the pages do.
    QApplication::setPalette(ThemeController::paletteFor(appearance));
    warmUp();
    const quint64 misses = SymbolIcon::cacheMisses();
    const QImage page = firstPaint(&m_log);
    QCOMPARE(SymbolIcon::cacheMisses(), misses);

    // The page is drawn in the appearance asked for: the canvas's corners.
    const auto near = [](QColor actual, QColor expected) {
        return std::abs(actual.red() - expected.red()) <= 1 &&
               std::abs(actual.green() - expected.green()) <= 1 &&
               std::abs(actual.blue() - expected.blue()) <= 1;
    };
    const QColor top = page.pixelColor(2, 2);
    QVERIFY2(near(top, DashboardPalette::canvasTop.resolve(appearance)), qPrintable(top.name()));
}

void TestDashboardWarmUp::warmUpLeavesNothingBehind()
{
    const QPalette palette = QApplication::palette();
    const QFont font = QApplication::font();
    const QString style = QApplication::style()->name();
    const qsizetype windows = QApplication::topLevelWidgets().size();
    WarmUpQueue queue;
    queue.setSliceBudget(0);
    DashboardWarmUp::addTo(queue);
    queue.start();
    // Not even between its pieces is anything shown.
    while (!queue.isFinished()) {
        QCoreApplication::processEvents();
        const QWidgetList shown = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(shown.cbegin(), shown.cend(),
                             [](const QWidget *widget) { return widget->isVisible(); }));
    }
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    QCOMPARE(QApplication::palette(), palette);
    QCOMPARE(QApplication::font(), font);
    QCOMPARE(QApplication::style()->name(), style);
}

void TestDashboardWarmUp::warmUpYieldsBetweenItsSamples()
{
    WarmUpQueue queue;
    queue.setSliceBudget(0);
    DashboardWarmUp::addTo(queue);
    const int pieces = queue.pendingCount();
    // A sample of every summary card, section and kind of card, and the page.
    QVERIFY2(pieces >= 2 * 16, qPrintable(QString::number(pieces)));
    int turns = 0;
    QTimer ticker;
    ticker.setInterval(0);
    connect(&ticker, &QTimer::timeout, this, [&turns] { ++turns; });
    ticker.start();
    queue.start();
    QTRY_VERIFY(queue.isFinished());
    // The event loop turned between the pieces.
    QVERIFY2(turns >= pieces / 2, qPrintable(QString::number(turns)));
}

QTEST_MAIN(TestDashboardWarmUp)
#include "tst_dashboardwarmup.moc"
