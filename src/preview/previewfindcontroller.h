#pragma once

#include "preview/finddirection.h"
#include "text/searchpattern.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <optional>

class QStackedWidget;

namespace kestrune {

class FindBar;
class MarkdownView;
class SourceTextFind;

// Runs the find bar's query in whichever view the content area shows: the rendered document
// finds in itself, the source text (plain, or of a large file) through its SourceTextFind. When
// another view comes on show, the one before stops finding and loses its highlights; the bar
// shows the status of the one on show. Follows the bar's own requests (a new query, next,
// previous, closing it) by itself.
class PreviewFindController : public QObject
{
    Q_OBJECT

public:
    PreviewFindController(FindBar *bar, QStackedWidget *content, QObject *parent = nullptr);

    // Opens the bar with the selected text of the view on show, when it is one line, and finds it.
    void open();
    // Goes to the next match, or the one before, opening the bar when it is shut.
    void step(FindDirection direction);
    // Finds the bar's query in the view on show, unless that view already finds it; `restart`:
    // also then, from where it stands now.
    void follow(bool restart = false);
    // Opens the bar with a pattern and finds it in the view on show, going first to the match at
    // or after a place of `text`, the text on show (see MarkdownPreviewView::showSearchHit).
    void findFrom(const SearchPattern &pattern, const QString &text, int line, int column);
    // Stops the find in the view that runs it and clears its highlights.
    void end();

private:
    struct TextPlace
    {
        QString text;
        int line = 0;
        int column = 0;
    };
    void run(bool restart, const std::optional<TextPlace> &from);
    void findIn(MarkdownView *document, const SearchPattern &query, const std::optional<TextPlace> &from);
    void findIn(SourceTextFind *finder, const SearchPattern &query, const std::optional<TextPlace> &from);
    // The document view or the source finder the query runs in for a view on show, if any.
    static QObject *targetOf(QWidget *shown);

    FindBar *m_bar;
    QStackedWidget *m_content;
    QPointer<QObject> m_target; // the view or source finder the bar's query runs in
    SearchPattern m_targetQuery;
    QMetaObject::Connection m_statusConnection;
};

} // namespace kestrune
