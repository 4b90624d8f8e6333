#include "app/reviewsession.h"

#include "app/detailarea.h"
#include "preview/changereviewview.h"
#include "preview/specificationresultview.h"
#include "project/modelenvironment.h"
#include "project/planningpath.h"
#include "project/projectstore.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/qtconcurrentrun.h>

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
    if (m_changeFolder != changeFolder)
        m_review.reset();
    m_changeFolder = changeFolder;
    m_resultCapability.reset();
    if (root)
        startComparison(*root);
}

void ReviewSession::compareAgain(const QUrl &root)
{
    if (m_changeFolder && QFileInfo(m_changeFolder->toLocalFile()).isDir())
        startComparison(root);
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
    ++m_comparisonSerial;
}

void ReviewSession::startComparison(const QUrl &root)
{
    const quint64 serial = ++m_comparisonSerial;
    auto *watcher = new QFutureWatcher<ChangeReview>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, serial] {
        watcher->deleteLater();
        if (serial != m_comparisonSerial || !m_changeFolder)
            return; // another change, or none, since
        m_review = watcher->result();
        Q_EMIT compared();
    });
    // Reads every delta and current specification of the change: off the window's thread.
    watcher->setFuture(QtConcurrent::run([root, folder = *m_changeFolder] {
        return reviewChange(*ModelEnvironment::system().fileSystem, root, folder);
    }));
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
    if (ChangeReviewView *review = area.showReview({*m_review, statusOf(m_store, root, *m_changeFolder)}))
        connect(review, &ChangeReviewView::showResultRequested, this, &ReviewSession::resultRequested);
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
