#include "sidebar/projectsearchcontroller.h"

#include "project/projectstore.h"
#include "search/projecttextindex.h"
#include "sidebar/outlinelistview.h"
#include "sidebar/projectsearchfield.h"
#include "sidebar/searchresultsmodel.h"
#include "sidebar/searchresultsview.h"
#include "ui/invalidexpressiontext.h"
#include "ui/localization.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QScrollBar>

namespace kestrune {

namespace {

QString countText(const char *key, qsizetype count)
{
    return Localization::text(key).arg(QLocale().toString(qlonglong(count)));
}

} // namespace

ProjectSearchController::ProjectSearchController(ProjectStore &store, ProjectTextIndex &index,
                                                 ProjectSearchField &field, SearchResultsView &view,
                                                 SearchResultsModel &model, QObject *parent)
    : QObject(parent), m_store(store), m_index(index), m_field(field), m_view(view), m_model(model)
{
    m_model.setStatusLookup([this](const SearchableFile &file) -> std::optional<ChangeStatus> {
        if (file.kind != SearchableFileKind::change)
            return std::nullopt;
        return changeStatuses(file.projectRoot).value(file.ownerName);
    });
    connect(&store, &ProjectStore::summaryByProjectChanged, this,
            [this](const QUrl &root) { m_changeStatuses.remove(root); });
    connect(&field, &ProjectSearchField::patternChanged, this, [this] { start(Run::fresh); });
    connect(&field, &ProjectSearchField::resultsRequested, &view, &SearchResultsView::focusResults);
    connect(&view, &SearchResultsView::scopeChanged, this, [this] { start(Run::fresh); });
    connect(&view, &SearchResultsView::hitChosen, this, &ProjectSearchController::chooseHit);
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(0);
    connect(&m_showTimer, &QTimer::timeout, this, &ProjectSearchController::showWaitingResults);
    connect(&m_search, &ProjectSearch::resultsFound, this, &ProjectSearchController::onResultsFound);
    connect(&m_search, &ProjectSearch::finished, this, &ProjectSearchController::onFinished);
    connect(&index, &ProjectTextIndex::projectUpdated, this, &ProjectSearchController::onIndexUpdated);
    connect(&index, &ProjectTextIndex::updatingChanged, this, &ProjectSearchController::updateStatus);
    connect(&store, &ProjectStore::projectRootsChanged, this, [this] {
        if (m_active && m_view.searchesAllProjects())
            start(Run::refresh);
    });
}

const QHash<QString, ChangeStatus> &ProjectSearchController::changeStatuses(const QUrl &root)
{
    const auto known = m_changeStatuses.constFind(root);
    if (known != m_changeStatuses.constEnd())
        return *known;
    QHash<QString, ChangeStatus> statuses;
    if (const std::optional<ProjectSummary> summary = m_store.summaryForProject(root)) {
        for (const ChangeSummary &change : summary->changeSummaries) {
            if (change.status != ChangeStatus::archived)
                statuses.insert(change.changeName, change.status);
        }
    }
    return *m_changeStatuses.emplace(root, std::move(statuses));
}

void ProjectSearchController::setCurrentProject(const QUrl &root)
{
    if (m_currentProject == root)
        return;
    m_currentProject = root;
    if (m_active && !m_view.searchesAllProjects())
        start(Run::fresh);
}

QList<QUrl> ProjectSearchController::searchedRoots() const
{
    if (m_view.searchesAllProjects())
        return m_store.projectRoots();
    if (m_store.projectRoots().contains(m_currentProject))
        return {m_currentProject};
    return {};
}

void ProjectSearchController::start(Run run)
{
    const SearchPattern pattern = m_field.pattern();
    const bool active = !pattern.isEmpty();
    m_search.cancel();
    m_refreshResults.clear();
    m_waitingResults.clear();
    m_showTimer.stop();
    m_searchDone = false;
    m_run = run;
    if (!active || !pattern.isValid()) {
        m_model.clear();
    } else {
        QList<SearchableFilePointer> files;
        for (const QUrl &root : searchedRoots()) {
            for (const SearchableFilePointer &file : m_index.files(root)) {
                if (!m_view.hidesArchived() || !file->isArchived())
                    files.append(file);
            }
        }
        if (run == Run::fresh)
            m_model.clear();
        m_search.start(pattern, ProjectSearch::ranked(files));
    }
    updateStatus();
    if (active != m_active) {
        m_active = active;
        Q_EMIT activeChanged(active);
    }
}

void ProjectSearchController::onResultsFound(const QList<FileSearchResult> &results)
{
    if (m_run == Run::refresh) {
        m_refreshResults += results;
        return;
    }
    m_waitingResults += results;
    if (!m_showTimer.isActive())
        m_showTimer.start();
}

void ProjectSearchController::showWaitingResults()
{
    constexpr int budgetMs = 6;
    constexpr qsizetype filesAtOnce = 200;
    QElapsedTimer timer;
    timer.start();
    while (!m_waitingResults.isEmpty() && timer.elapsed() < budgetMs) {
        const qsizetype count = std::min(filesAtOnce, m_waitingResults.size());
        m_model.addResults(m_waitingResults.first(count));
        m_waitingResults.remove(0, count);
    }
    updateStatus();
    if (!m_waitingResults.isEmpty())
        m_showTimer.start();
    else if (m_searchDone)
        finishShowing();
}

void ProjectSearchController::onFinished()
{
    m_searchDone = true;
    if (m_run == Run::fresh && (m_showTimer.isActive() || !m_waitingResults.isEmpty()))
        return; // finishShowing follows once the waiting results are shown
    finishShowing();
}

void ProjectSearchController::finishShowing()
{
    if (m_run == Run::refresh) {
        // Keep the chosen hit, or at least its file, and the scroll position.
        OutlineListView *list = m_view.listView();
        const std::optional<SearchResultsModel::HitReference> chosen = m_model.hitAt(list->currentIndex());
        const QUrl chosenFile = chosen && chosen->result->file ? chosen->result->file->url : QUrl();
        const int scrollValue = list->verticalScrollBar()->value();
        m_model.replaceResults(std::exchange(m_refreshResults, {}));
        if (chosen) {
            QModelIndex again = m_model.indexOfHit(chosenFile, chosen->hit.line, chosen->hit.column);
            if (!again.isValid())
                again = m_model.indexOfFile(chosenFile);
            if (again.isValid()) {
                list->setExpanded(again.parent(), true);
                list->setCurrentIndex(again);
            }
        }
        list->verticalScrollBar()->setValue(scrollValue);
    }
    m_run = Run::fresh;
    updateStatus();
    Q_EMIT searchFinished();
}

void ProjectSearchController::onIndexUpdated(const QUrl &root)
{
    if (m_active && searchedRoots().contains(root))
        start(m_model.rowCount() == 0 ? Run::fresh : Run::refresh);
}

void ProjectSearchController::updateStatus()
{
    const SearchPattern pattern = m_field.pattern();
    if (pattern.isEmpty()) {
        m_view.setStatus({});
        return;
    }
    if (!pattern.isValid()) {
        m_view.setStatus(InvalidExpressionText::of(pattern), true);
        return;
    }
    const QList<QUrl> roots = searchedRoots();
    const bool reading = std::any_of(roots.cbegin(), roots.cend(),
                                     [this](const QUrl &root) { return m_index.isUpdating(root); });
    QString text;
    const qsizetype matches = m_model.totalMatchCount();
    const int files = m_model.fileCount();
    if (matches == 0)
        text = isSearching() || reading ? Localization::text("search.searching")
                                        : Localization::text("find.no_matches");
    else if (matches == 1)
        text = Localization::text("search.status_one");
    else if (files == 1)
        text = countText("search.status_one_file", matches);
    else
        text = Localization::text("search.status")
                   .arg(QLocale().toString(qlonglong(matches)), QLocale().toString(files));
    if (reading && matches > 0)
        text += QLatin1String(" ") + Localization::text("search.reading_files");
    m_view.setStatus(text);
}

void ProjectSearchController::chooseHit(const QModelIndex &index)
{
    const std::optional<SearchResultsModel::HitReference> hit = m_model.hitAt(index);
    if (!hit || !hit->result->file)
        return;
    const SearchableFile &file = *hit->result->file;
    Q_EMIT hitChosen(file.projectRoot, file.url, m_search.pattern(), hit->hit.line, int(hit->hit.column));
}

} // namespace kestrune
