#include "preview/previewfindcontroller.h"

#include "markdown/layout/view/markdownview.h"
#include "preview/findbar.h"
#include "preview/largefilesourceview.h"
#include "preview/sourcetextfind.h"
#include "preview/sourcetextview.h"

#include <QStackedWidget>

namespace kestrune {

PreviewFindController::PreviewFindController(FindBar *bar, QStackedWidget *content, QObject *parent)
    : QObject(parent), m_bar(bar), m_content(content)
{
    connect(m_bar, &FindBar::queryChanged, this, [this] { follow(); });
    connect(m_bar, &FindBar::nextRequested, this, [this] { step(FindDirection::forward); });
    connect(m_bar, &FindBar::previousRequested, this, [this] { step(FindDirection::backward); });
    connect(m_bar, &FindBar::closed, this, [this] {
        end();
        if (QWidget *view = m_content->currentWidget())
            view->setFocus(Qt::OtherFocusReason);
    });
}

void PreviewFindController::open()
{
    QString selected;
    if (auto *document = qobject_cast<MarkdownView *>(m_content->currentWidget()))
        selected = document->selectedText();
    else if (auto *source = qobject_cast<SourceTextView *>(m_content->currentWidget()))
        selected = source->textCursor().selectedText();
    // A selection of one line is what the reader looks for; a longer one is not.
    if (selected.contains(QLatin1Char('\n')) || selected.contains(QChar::ParagraphSeparator))
        selected.clear();
    m_bar->open(selected);
    follow();
}

void PreviewFindController::step(FindDirection direction)
{
    if (m_bar->isHidden()) {
        open();
        return;
    }
    if (auto *document = qobject_cast<MarkdownView *>(m_target.data())) {
        if (direction == FindDirection::forward)
            document->findNext();
        else
            document->findPrevious();
    } else if (auto *source = qobject_cast<SourceTextFind *>(m_target.data())) {
        source->step(direction);
    }
}

void PreviewFindController::follow(bool restart)
{
    run(restart, std::nullopt);
}

void PreviewFindController::findFrom(const SearchPattern &pattern, const QString &text, int line, int column)
{
    m_bar->open(pattern);
    run(true, TextPlace{text, line, column});
}

QObject *PreviewFindController::targetOf(QWidget *shown)
{
    SourceTextView *source = qobject_cast<SourceTextView *>(shown);
    if (auto *large = qobject_cast<LargeFileSourceView *>(shown))
        source = large->source();
    if (source)
        return source->textFind();
    return qobject_cast<MarkdownView *>(shown);
}

void PreviewFindController::run(bool restart, const std::optional<TextPlace> &from)
{
    if (m_bar->isHidden())
        return;
    QObject *target = targetOf(m_content->currentWidget());
    const SearchPattern query = m_bar->query();
    if (target == m_target && query == m_targetQuery && !restart)
        return;
    if (target != m_target)
        end();
    m_target = target;
    m_targetQuery = query;
    if (auto *document = qobject_cast<MarkdownView *>(target))
        findIn(document, query, from);
    else if (auto *finder = qobject_cast<SourceTextFind *>(target))
        findIn(finder, query, from);
    else
        m_bar->setStatus({});
}

void PreviewFindController::findIn(MarkdownView *document, const SearchPattern &query,
                                   const std::optional<TextPlace> &from)
{
    m_statusConnection = connect(document, &MarkdownView::findStatusChanged, this,
                                 [this, document] { m_bar->setStatus(document->findStatus()); });
    if (from)
        document->findFrom(query, from->text, from->line, from->column);
    else
        document->find(query);
    m_bar->setStatus(document->findStatus());
}

void PreviewFindController::findIn(SourceTextFind *finder, const SearchPattern &query,
                                   const std::optional<TextPlace> &from)
{
    m_statusConnection = connect(finder, &SourceTextFind::statusChanged, this,
                                 [this, finder] { m_bar->setStatus(finder->status()); });
    if (from)
        finder->findFrom(query, from->line, from->column);
    else
        finder->find(query);
    m_bar->setStatus(finder->status());
}

void PreviewFindController::end()
{
    disconnect(m_statusConnection);
    if (auto *document = qobject_cast<MarkdownView *>(m_target.data()))
        document->clearFind();
    else if (auto *source = qobject_cast<SourceTextFind *>(m_target.data()))
        source->clear();
    m_target.clear();
    m_targetQuery = {};
}

} // namespace kestrune
