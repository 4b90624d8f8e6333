#include "recordingfolderactions.h"

#include "app/detailarea.h"
#include "dashboard/dashboardview.h"

#include <QTest>

using namespace kestrune;

using Section = DashboardView::Section;

namespace {

DashboardInput input(const ProjectSummary &summary, const QUrl &root)
{
    return {root.fileName(), summary, root};
}

ProjectSummary summaryWithOneArchivedChange()
{
    ChangeSummary archived;
    archived.id = QUuid::createUuid();
    archived.changeName = QStringLiteral("old");
    archived.status = ChangeStatus::archived;
    ProjectSummary summary;
    summary.changeSummaries = {archived};
    return summary;
}

// A factory whose dashboards report to the given log instead of the desktop.
class RecordingFactory : public DetailViewFactory
{
public:
    explicit RecordingFactory(RecordingFolderActions::Log *log) : m_log(log) {}
    QWidget *createDashboard(const DashboardInput &input, QWidget *parent) const override
    {
        return new DashboardView(input, std::make_unique<RecordingFolderActions>(m_log), parent);
    }

private:
    RecordingFolderActions::Log *m_log;
};

} // namespace

// The dashboard as the detail area shows it, through the application's factory.
class TestDashboardIntegration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultFactoryMakesTheDashboard();
    void detailAreaKeepsStatesUntilTheDashboardLeaves();

private:
    RecordingFolderActions::Log m_log;
};

void TestDashboardIntegration::defaultFactoryMakesTheDashboard()
{
    const DetailViewFactory factory;
    QWidget parent;
    const QUrl root = QUrl::fromLocalFile(QStringLiteral("/projects/shop"));
    QWidget *view = factory.createDashboard(input(ProjectSummary(), root), &parent);
    auto *dashboard = qobject_cast<DashboardView *>(view);
    QVERIFY(dashboard);
    factory.updateDashboard(view, input(summaryWithOneArchivedChange(), root));
    QCOMPARE(dashboard->input().summary.changeSummaries.size(), 1);
}

void TestDashboardIntegration::detailAreaKeepsStatesUntilTheDashboardLeaves()
{
    DetailArea area(std::make_unique<RecordingFactory>(&m_log));
    const QUrl shop = QUrl::fromLocalFile(QStringLiteral("/projects/shop"));
    const QUrl other = QUrl::fromLocalFile(QStringLiteral("/projects/other"));
    area.showDashboard(input(summaryWithOneArchivedChange(), shop), 1);
    auto *dashboard = qobject_cast<DashboardView *>(area.currentView());
    QVERIFY(dashboard);
    dashboard->setExpanded(Section::archive, false);

    // Another, already scanned project: the same dashboard, still collapsed.
    area.showDashboard(input(ProjectSummary(), other), 7);
    QCOMPARE(area.currentView(), dashboard);
    QVERIFY(!dashboard->isExpanded(Section::archive));
    QCOMPARE(dashboard->input().projectRoot, other);

    // A preview in between: the next dashboard starts afresh.
    area.showPreview(
        QUuid::createUuid(),
        {QUrl::fromLocalFile(QStringLiteral("/projects/other/kestrune/a.md")), {}, false, {}, true});
    area.showDashboard(input(ProjectSummary(), other), 7);
    auto *next = qobject_cast<DashboardView *>(area.currentView());
    QVERIFY(next);
    QVERIFY(next->isExpanded(Section::archive));
}

QTEST_MAIN(TestDashboardIntegration)
#include "tst_dashboardintegration.moc"
