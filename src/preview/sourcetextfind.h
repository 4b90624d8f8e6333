#pragma once

#include "markdown/layout/document/findstatus.h"
#include "preview/finddirection.h"
#include "text/searchpattern.h"

#include <QFutureWatcher>
#include <QObject>

#include <memory>
#include <vector>

namespace kestrune {

class SourceTextView;

// Find in the source text: the text is searched on the thread pool in slices, every match in
// view is highlighted as it is counted, and the current one more strongly. The view is scrolled
// to a match without touching the reader's selection.
class SourceTextFind : public QObject
{
    Q_OBJECT

public:
    // `text` is what the view shows, as it was given to it.
    SourceTextFind(SourceTextView *view, const QString &text);
    ~SourceTextFind() override;

    // Highlights every match and goes to the first one at or after the top of the view, once
    // it is counted. An empty query ends the find.
    void find(const SearchPattern &query);
    // The same, going first to the match at or after a place of the text (line and column
    // counted from 0, the column in UTF-16 code units; lines end at LF, CR or CR LF).
    void findFrom(const SearchPattern &query, int line, int column);
    // Goes to the next match, or the one before, of those counted so far.
    void step(FindDirection direction);
    void clear();
    const SearchPattern &query() const { return m_query; }
    FindStatus status() const;

Q_SIGNALS:
    void statusChanged();

private:
    void start(const SearchPattern &query, qsizetype from);
    // Where a place of the text lies in the view's text.
    qsizetype viewPosition(int line, int column) const;
    void takeResults(int begin, int end);
    void goTo(int index);
    void updateHighlights();

    SourceTextView *m_view;
    QString m_text;
    SearchPattern m_query;
    std::vector<TextMatch> m_matches; // counted so far, in order, in the view's text
    int m_current = -1;
    qsizetype m_firstFrom = -1; // waiting for the first match at or after this position
    int m_pending = -1;         // a match beyond the text the view has taken in so far
    bool m_complete = true;
    std::unique_ptr<QFutureWatcher<QList<TextMatch>>> m_watcher;
};

} // namespace kestrune
