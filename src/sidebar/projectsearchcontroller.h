#pragma once

#include "project/changestatus.h"
#include "search/filesearchresult.h"
#include "search/projectsearch.h"
#include "text/searchpattern.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QUrl>

namespace kestrune {

class ProjectSearchField;
class ProjectStore;
class ProjectTextIndex;
class SearchResultsModel;
class SearchResultsView;

// Runs the project search behind the sidebar's search field: on every change of the query or its
// scope a new search of the index starts (the selected project's files, or every project's), its
// results shown as they come. When the index takes in changed files, the search showing runs again
// in the background and its results replace the old ones at once, the chosen hit kept.
class ProjectSearchController : public QObject
{
    Q_OBJECT

public:
    ProjectSearchController(ProjectStore &store, ProjectTextIndex &index, ProjectSearchField &field,
                            SearchResultsView &view, SearchResultsModel &model, QObject *parent = nullptr);

    // The project searched unless every project is.
    void setCurrentProject(const QUrl &root);
    // Whether a query is in the field (the results then replace the outline).
    bool isActive() const { return m_active; }
    // Whether a search runs or its results are still being put in the list.
    bool isSearching() const { return m_search.isRunning() || !m_waitingResults.isEmpty(); }

Q_SIGNALS:
    void activeChanged(bool active);
    // A hit was chosen: its file, and its place there (line and column counted from 0).
    void hitChosen(const QUrl &root, const QUrl &file, const SearchPattern &pattern, int line, int column);
    // A search finished and its results are all shown (for tests and benchmarks).
    void searchFinished();

private:
    enum class Run
    {
        fresh,   // a new query: the results are cleared and fill in as they come
        refresh, // the same query over changed files: the results are swapped at once
    };

    void start(Run run);
    QList<QUrl> searchedRoots() const;
    void onResultsFound(const QList<FileSearchResult> &results);
    void onFinished();
    // Hands waiting results to the list a few milliseconds' worth at a time, so that a word found
    // in every file never holds up the window.
    void showWaitingResults();
    void finishShowing();
    void onIndexUpdated(const QUrl &root);
    void updateStatus();
    void chooseHit(const QModelIndex &index);
    // The status of each current change of a project, by name; made once a published summary.
    const QHash<QString, ChangeStatus> &changeStatuses(const QUrl &root);

    ProjectStore &m_store;
    ProjectTextIndex &m_index;
    ProjectSearchField &m_field;
    SearchResultsView &m_view;
    SearchResultsModel &m_model;
    ProjectSearch m_search;
    QUrl m_currentProject;
    bool m_active = false;
    Run m_run = Run::fresh;
    QList<FileSearchResult> m_refreshResults;
    QList<FileSearchResult> m_waitingResults;
    QHash<QUrl, QHash<QString, ChangeStatus>> m_changeStatuses;
    QTimer m_showTimer;
    bool m_searchDone = false;
};

} // namespace kestrune
