#include "app/reviewsession.h"

#include "app/detailarea.h"
#include "app/reviewhistory.h"
#include "preview/changereviewview.h"
#include "preview/requirementhistorypopup.h"
#include "preview/specificationresultview.h"
#include "project/planningpath.h"
#include "project/projectstore.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>

#include <algorithm>

namespace kestrune {

namespace {

// The status the project's summary gives the change, if it lists it.
std::optional<ChangeStatus> statusOf(const ProjectStore &store, const QUrl &root, const QUrl &changeFolder)
{
    std::optional<ChangeStatus> status;
    if (const std::optional<ProjectSummary> summary = store.summaryForProject(root)) {
        const QString folder = QDir::cleanPath(changeFolder.toLocalFile());
        for (const ChangeSummary &change : summary->changeSummaries) {
            if (QDir::cleanPath(change.changeDirectoryURL.toLocalFile()) == folder)
                status = change.status;
        }
    }
    return status;
}

} // namespace

ReviewSession::ReviewSession(const ProjectStore &store, QObject *parent) : QObject(parent), m_store(store) {}

ReviewSession::~ReviewSession() = default;

void ReviewSession::open(const std::optional<QUrl> &root, const QUrl &changeFolder)
{
    const bool another = m_changeFolder != changeFolder || m_root != root;
    if (m_changeFolder != changeFolder)
        m_review.reset();
    m_changeFolder = changeFolder;
    m_root = root;
    m_resultCapability.reset();
    if (another) {
        // Another change is compared with the specifications on disk first.
        m_baseline.clear();
        m_baselines.reset();
        ++m_baselineSerial;
        if (m_baselineListing)
            m_baselineListing->cancel();
        if (m_view)
            m_view->setBaselineChoices({});
        if (root)
            listBaselines(*root);
    }
    if (root)
        startComparison(*root);
}

void ReviewSession::compareAgain(const QUrl &root)
{
    if (m_changeFolder && QFileInfo(m_changeFolder->toLocalFile()).isDir())
        startComparison(root);
}

void ReviewSession::compareWith(const QString &commit)
{
    if (!m_changeFolder || !m_root || commit == m_baseline)
        return;
    m_baseline = commit;
    startComparison(*m_root);
}

bool ReviewSession::showResult(const QString &capability)
{
    if (!m_changeFolder)
        return false;
    if (capability.isEmpty())
        m_resultCapability.reset();
    else
        m_resultCapability = capability;
    m_shownResultSerial = 0;
    return true;
}

void ReviewSession::leave()
{
    m_changeFolder.reset();
    m_review.reset();
    m_resultCapability.reset();
    m_root.reset();
    m_baseline.clear();
    m_reviewBaseline.reset();
    m_baselines.reset();
    ++m_comparisonSerial;
    ++m_baselineSerial;
    for (QFutureWatcherBase *work : {m_comparison.data(), m_baselineListing.data()}) {
        if (work)
            work->cancel();
    }
}

void ReviewSession::startComparison(const QUrl &root)
{
    const quint64 serial = ++m_comparisonSerial;
    if (m_comparison)
        m_comparison->cancel(); // its answer would be dropped
    auto *watcher = new QFutureWatcher<ReviewHistory::Comparison>(this);
    m_comparison = watcher;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, serial] {
        watcher->deleteLater();
        if (serial != m_comparisonSerial || !m_changeFolder || watcher->future().resultCount() == 0)
            return; // another change, or none, since
        ReviewHistory::Comparison comparison = watcher->result();
        m_review = std::move(comparison.review);
        m_reviewBaseline = comparison.baseline;
        // The choice as listed says whether it is the commit the change was proposed on.
        if (m_reviewBaseline && m_baselines) {
            for (const ReviewBaseline &baseline : std::as_const(*m_baselines)) {
                if (baseline.commit == m_reviewBaseline->commit)
                    m_reviewBaseline = baseline;
            }
        }
        Q_EMIT compared();
    });
    // Reads every delta and current specification of the change (or the commit's): off the
    // window's thread.
    watcher->setFuture(ReviewHistory::startReviewAt(root, *m_changeFolder, m_baseline));
}

void ReviewSession::listBaselines(const QUrl &root)
{
    const quint64 serial = m_baselineSerial;
    auto *watcher = new QFutureWatcher<std::optional<QList<ReviewBaseline>>>(this);
    m_baselineListing = watcher;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, serial] {
        watcher->deleteLater();
        if (serial != m_baselineSerial || watcher->future().resultCount() == 0)
            return;
        m_baselines = watcher->result();
        if (m_view && m_baselines)
            m_view->setBaselineChoices(*m_baselines);
    });
    watcher->setFuture(ReviewHistory::startBaselines(root, *m_changeFolder));
}

void ReviewSession::showIn(DetailArea &area, const QUrl &root)
{
    if (!m_changeFolder)
        return;
    if (!m_review) {
        area.showLoading("review.loading");
        return;
    }
    const auto capability =
        m_resultCapability
            ? std::find_if(m_review->capabilities.cbegin(), m_review->capabilities.cend(),
                           [this](const CapabilityReview &c) { return c.capability == *m_resultCapability; })
            : m_review->capabilities.cend();
    if (capability != m_review->capabilities.cend()) {
        showResultIn(area, *capability);
        return;
    }
    if (ChangeReviewView *review =
            area.showReview({*m_review, statusOf(m_store, root, *m_changeFolder), m_reviewBaseline}))
        connectView(*review);
}

void ReviewSession::connectView(ChangeReviewView &view)
{
    m_view = &view;
    connect(&view, &ChangeReviewView::showResultRequested, this, &ReviewSession::resultRequested);
    connect(&view, &ChangeReviewView::baselineRequested, this, &ReviewSession::compareWith);
    connect(&view, &ChangeReviewView::requirementHistoryRequested, this,
            &ReviewSession::showRequirementHistory);
    if (m_baselines)
        view.setBaselineChoices(*m_baselines);
}

void ReviewSession::showRequirementHistory(const QUrl &specification, const QString &requirement,
                                           QWidget *anchor)
{
    if (!m_root || !anchor)
        return;
    auto *popup = new RequirementHistoryPopup(requirement, anchor->window());
    connect(popup, &RequirementHistoryPopup::changeChosen, this, &ReviewSession::reviewRequested);
    ReviewHistory::feed(*popup, *m_root, specification, requirement);
    // Below the button, its right edge at the button's: the page's cards keep it inside the window.
    popup->popUp(anchor->mapToGlobal(QPoint(anchor->width() - popup->width(), anchor->height())));
}

void ReviewSession::showResultIn(DetailArea &area, const CapabilityReview &capability)
{
    if (area.content() == DetailArea::Content::result && m_shownResultSerial == m_comparisonSerial)
        return;
    m_shownResultSerial = m_comparisonSerial;
    if (SpecificationResultView *result = area.showSpecificationResult(m_review->changeName, capability))
        connect(result, &SpecificationResultView::backRequested, this,
                [this] { Q_EMIT resultRequested(QString()); });
}

std::optional<std::pair<QUrl, QString>> ReviewSession::deltaSpecificationOwner(const QUrl &root,
                                                                               const QUrl &file)
{
    const std::optional<PlanningPath> path = PlanningPath::inPlanningFolder(root, file, false);
    if (!path || path->kind != PlanningPath::Kind::deltaSpecification || !path->isCapabilityFile)
        return std::nullopt;
    return std::pair(PlanningPath::urlInPlanningFolder(root, path->changeFolderPath), path->capability);
}

} // namespace kestrune
