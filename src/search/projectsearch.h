#pragma once

#include "search/filesearchresult.h"
#include "search/searchablefile.h"
#include "text/searchpattern.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>

namespace kestrune {

// Runs one search at a time over the texts of a list of files, on the thread pool, in slices of
// about sliceSize characters, and publishes each slice's results on the owner's thread as soon as
// it is done, so the first results show while the rest is still searched. Starting a search cancels
// the one running; its results are no longer published.
class ProjectSearch : public QObject
{
    Q_OBJECT

public:
    explicit ProjectSearch(QObject *parent = nullptr);
    ~ProjectSearch() override;

    // A file's rank in the results is its place in `files`.
    void start(const SearchPattern &pattern, const QList<SearchableFilePointer> &files);
    void cancel();
    bool isRunning() const { return m_watcher != nullptr; }
    const SearchPattern &pattern() const { return m_pattern; }

    static constexpr qsizetype sliceSize = 256 * 1024;

    // The order results are ranked in: the files as given, those of archived changes after all others.
    static QList<SearchableFilePointer> ranked(QList<SearchableFilePointer> files);

Q_SIGNALS:
    // The files of one slice that hold at least one match; slices may finish out of rank order.
    void resultsFound(const QList<FileSearchResult> &results);
    // Every file was searched.
    void finished();

private:
    using SliceWatcher = QFutureWatcher<QList<FileSearchResult>>;

    void publishSlices(int begin, int end);

    SearchPattern m_pattern;
    SliceWatcher *m_watcher = nullptr;
};

} // namespace kestrune
