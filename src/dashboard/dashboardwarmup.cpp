#include "dashboard/dashboardwarmup.h"

#include "dashboard/activechangecard.h"
#include "dashboard/archivedchangerow.h"
#include "dashboard/changesectionview.h"
#include "dashboard/completedchangerow.h"
#include "dashboard/dashboardpalette.h"
#include "dashboard/dashboardview.h"
#include "dashboard/draftchangecard.h"
#include "dashboard/emptystatetext.h"
#include "dashboard/folderactions.h"
#include "dashboard/speccard.h"
#include "dashboard/summarycardview.h"
#include "ui/localization.h"
#include "ui/warmupqueue.h"

#include <QDateTime>

#include <array>
#include <utility>

namespace kestrune {

namespace {

// The sample page never asks the desktop for anything.
class NoFolderActions : public FolderActions
{
public:
    void openFolder(const QUrl &) override {}
    void revealItem(const QString &, const QString &) override {}
};

// A card's width in a grid of the page at its usual size: cards are drawn into the width they
// get, and some texts are elided to it.
constexpr int sampleCardWidth = 420;

ChangeSummary sampleChange(const QString &name, ChangeStatus status)
{
    ChangeSummary change;
    change.id = QUuid::createUuid();
    change.changeName = name;
    change.changeDirectoryURL = QUrl::fromLocalFile(QStringLiteral("/sample/kestrune/changes/") + name);
    change.status = status;
    change.hasProposal = true;
    return change;
}

template <typename Card> void addCard(WarmUpQueue &queue, const ChangeSummary &change, int height)
{
    queue.addRendering([change, height] {
        auto card = std::make_unique<Card>(change);
        card->resize(sampleCardWidth, height);
        return card;
    });
}

} // namespace

ProjectSummary DashboardWarmUp::sampleSummary()
{
    const QDateTime day(QDate(2024, 5, 17), QTime(12, 0));

    ChangeSummary draft = sampleChange(QStringLiteral("add-sample-draft"), ChangeStatus::draft);
    draft.currentDraftStage = WorkflowStage::design;
    draft.hasDesign = true;

    ChangeSummary active = sampleChange(QStringLiteral("add-sample-change"), ChangeStatus::active);
    active.workflowStage = WorkflowStage::tasks;
    active.hasDesign = true;
    active.hasSpecs = true;
    active.hasTasks = true;
    active.taskProgressPercent = 40;

    ChangeSummary completed = sampleChange(QStringLiteral("finish-sample-change"), ChangeStatus::completed);
    completed.workflowStage = WorkflowStage::tasks;
    completed.hasTasks = true;
    completed.taskProgressPercent = 100;
    completed.completedAt = day;
    ChangeSummary completedUndated = completed;
    completedUndated.id = QUuid::createUuid();
    completedUndated.changeName = QStringLiteral("finish-undated-change");
    completedUndated.completedAt.reset();

    ChangeSummary archived = sampleChange(QStringLiteral("2024-05-17-sample-change"), ChangeStatus::archived);
    archived.archivedAt = day;
    ChangeSummary archivedUndated = archived;
    archivedUndated.id = QUuid::createUuid();
    archivedUndated.changeName = QStringLiteral("undated-change");
    archivedUndated.archivedAt.reset();

    ProjectSummary summary;
    summary.changeSummaries = {draft, active, completed, completedUndated, archived, archivedUndated};
    summary.totalChanges = summary.changeSummaries.size();
    summary.draftCount = 1;
    summary.activeChanges = 1;
    summary.archivedChanges = 2;
    summary.specNames = {QStringLiteral("sample-capability")};
    summary.specRequirementCounts = {{QStringLiteral("sample-capability"), 3}};
    summary.specCount = 1;
    summary.specReqsCount = 3;
    return summary;
}

void DashboardWarmUp::addTo(WarmUpQueue &queue)
{
    // The summary cards, each with its symbol.
    const std::array<std::pair<const char *, const char *>, 4> summaryCards = {{
        {"dashboard.summary.specs", "doc.text"},
        {"dashboard.summary.draft", "clock"},
        {"dashboard.summary.active", "dot.scope"},
        {"dashboard.summary.archive", "archivebox"},
    }};
    for (const auto &[titleKey, symbol] : summaryCards) {
        queue.addRendering([titleKey = titleKey, symbol = symbol] {
            auto card = std::make_unique<SummaryCardView>(
                Localization::text(titleKey), QStringLiteral("128"),
                Localization::format("dashboard.summary.reqs_format", qint64(1024)),
                QString::fromLatin1(symbol));
            card->resize(240, SummaryCardView::cardHeight);
            return card;
        });
    }
    // A section's header in each accent, with an empty-state text.
    const std::array<std::pair<const char *, DynamicColor>, 4> sections = {{
        {"dashboard.section.draft_changes", DashboardPalette::draftAccent},
        {"dashboard.section.active_changes", DashboardPalette::activeAccent},
        {"dashboard.section.completed", DashboardPalette::completedAccent},
        {"dashboard.section.archive", DashboardPalette::secondaryText},
    }};
    for (const auto &[titleKey, accent] : sections) {
        queue.addRendering([titleKey = titleKey, accent = accent] {
            auto section = std::make_unique<ChangeSectionView>(Localization::text(titleKey), accent);
            section->setContent(0, [](QWidget *parent) {
                return new EmptyStateText(Localization::text("dashboard.empty.active_changes"),
                                          EmptyStateText::Spacing::standard, parent);
            });
            section->resize(900, section->sizeHint().height());
            return section;
        });
    }
    const ProjectSummary summary = sampleSummary();
    const QList<ChangeSummary> &changes = summary.changeSummaries;
    addCard<DraftChangeCard>(queue, changes.at(0), DraftChangeCard::cardHeight());
    addCard<ActiveChangeCard>(queue, changes.at(1), ActiveChangeCard::cardHeight());
    addCard<CompletedChangeRow>(queue, changes.at(2), CompletedChangeRow::rowHeight(true));
    addCard<CompletedChangeRow>(queue, changes.at(3), CompletedChangeRow::rowHeight(false));
    addCard<ArchivedChangeRow>(queue, changes.at(4), ArchivedChangeRow::rowHeight(true));
    addCard<ArchivedChangeRow>(queue, changes.at(5), ArchivedChangeRow::rowHeight(false));
    queue.addRendering([] {
        auto card = std::make_unique<SpecCard>(QStringLiteral("sample-capability"), 3);
        card->resize(sampleCardWidth, SpecCard::cardHeight());
        return card;
    });
    queue.addRendering([summary] {
        auto page = std::make_unique<DashboardView>(
            DashboardInput{QStringLiteral("sample"), summary, QUrl::fromLocalFile(QStringLiteral("/sample"))},
            std::make_unique<NoFolderActions>());
        // Its top is enough: every kind of card has been drawn already.
        page->resize(720, 480);
        return page;
    });
}

} // namespace kestrune
