#include "search/projectsearch.h"

#include "text/backgroundpool.h"

#include <QtConcurrent/QtConcurrentMap>

namespace kestrune {

namespace {

struct SearchSlice
{
    QList<SearchableFilePointer> files;
    int firstRank = 0;
};

QList<SearchSlice> slicesOf(const QList<SearchableFilePointer> &files)
{
    QList<SearchSlice> slices;
    SearchSlice slice;
    qsizetype characters = 0;
    for (int rank = 0; rank < files.size(); ++rank) {
        if (slice.files.isEmpty())
            slice.firstRank = rank;
        slice.files.append(files[rank]);
        characters += files[rank] ? files[rank]->text.size() : 0;
        if (characters >= ProjectSearch::sliceSize) {
            slices.append(std::move(slice));
            slice = SearchSlice();
            characters = 0;
        }
    }
    if (!slice.files.isEmpty())
        slices.append(std::move(slice));
    return slices;
}

} // namespace

ProjectSearch::ProjectSearch(QObject *parent) : QObject(parent) {}

ProjectSearch::~ProjectSearch()
{
    cancel();
}

void ProjectSearch::start(const SearchPattern &pattern, const QList<SearchableFilePointer> &files)
{
    cancel();
    m_pattern = pattern;
    m_watcher = new SliceWatcher(this);
    connect(m_watcher, &SliceWatcher::resultsReadyAt, this, &ProjectSearch::publishSlices);
    connect(m_watcher, &SliceWatcher::finished, this, [this] {
        if (!m_watcher || m_watcher->isCanceled())
            return;
        m_watcher->deleteLater();
        m_watcher = nullptr;
        Q_EMIT finished();
    });
    const std::function<QList<FileSearchResult>(const SearchSlice &)> searchSlice =
        [pattern](const SearchSlice &slice) {
            QList<FileSearchResult> results;
            int rank = slice.firstRank;
            for (const SearchableFilePointer &file : slice.files) {
                FileSearchResult result = FileSearchResult::search(file, pattern, rank++);
                if (result.matchCount > 0)
                    results.append(std::move(result));
            }
            return results;
        };
    m_watcher->setFuture(QtConcurrent::mapped(BackgroundPool::instance(), slicesOf(files), searchSlice));
}

QList<SearchableFilePointer> ProjectSearch::ranked(QList<SearchableFilePointer> files)
{
    std::stable_partition(files.begin(), files.end(),
                          [](const SearchableFilePointer &file) { return file && !file->isArchived(); });
    return files;
}

void ProjectSearch::cancel()
{
    if (!m_watcher)
        return;
    m_watcher->disconnect(this);
    m_watcher->cancel();
    m_watcher->deleteLater();
    m_watcher = nullptr;
}

void ProjectSearch::publishSlices(int begin, int end)
{
    QList<FileSearchResult> results;
    for (int i = begin; i < end; ++i)
        results += m_watcher->resultAt(i);
    if (!results.isEmpty())
        Q_EMIT resultsFound(results);
}

} // namespace kestrune
