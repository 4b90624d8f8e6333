#include "preview/sourcetextfind.h"

#include "markdown/layout/style/theme.h"
#include "preview/sourcetextview.h"
#include "text/backgroundpool.h"
#include "text/linebreaks.h"

#include <QElapsedTimer>
#include <QPromise>
#include <QScrollBar>
#include <QTextBlock>
#include <QThreadPool>

#include <algorithm>

namespace kestrune {

namespace {

// How much text the search takes at a time before it hands its matches over.
constexpr qsizetype sliceSize = 512 * 1024;

// The text as the view holds it: every line end, "\r\n" included, one character.
QString withPlainLineEnds(const QString &text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return plain;
}

} // namespace

SourceTextFind::SourceTextFind(SourceTextView *view, const QString &text)
    : QObject(view), m_view(view), m_text(text)
{
    connect(view, &QPlainTextEdit::updateRequest, this, [this](const QRect &, int dy) {
        if (dy != 0)
            updateHighlights();
    });
    connect(view, &SourceTextView::completed, this, [this] {
        if (m_pending >= 0)
            goTo(m_pending);
    });
}

SourceTextFind::~SourceTextFind()
{
    if (m_watcher)
        m_watcher->future().cancel();
}

void SourceTextFind::find(const SearchPattern &query)
{
    start(query, m_view->lines().positionOfLine(m_view->topLine()));
}

void SourceTextFind::findFrom(const SearchPattern &query, int line, int column)
{
    start(query, viewPosition(line, column));
}

qsizetype SourceTextFind::viewPosition(int line, int column) const
{
    // The view holds every line end, CR LF included, as one character.
    const QStringView text(m_text);
    qsizetype at = 0;
    qsizetype joined = 0; // CR LF pairs passed
    for (int current = 0; current < line && at < text.size(); ++current) {
        at = LineBreaks::lineEnd(text, at);
        const qsizetype lineBreak = LineBreaks::lengthAt(text, at);
        joined += lineBreak == 2 ? 1 : 0;
        at += std::max<qsizetype>(1, lineBreak);
    }
    at = std::min(at, text.size());
    const qsizetype end = LineBreaks::lineEnd(text, at);
    return std::min(at + std::max(0, column), end) - joined;
}

void SourceTextFind::start(const SearchPattern &query, qsizetype from)
{
    clear();
    if (query.isEmpty())
        return;
    m_query = query;
    m_complete = false;
    m_firstFrom = from;
    auto promise = std::make_shared<QPromise<QList<TextMatch>>>();
    m_watcher = std::make_unique<QFutureWatcher<QList<TextMatch>>>();
    connect(m_watcher.get(), &QFutureWatcherBase::resultsReadyAt, this, &SourceTextFind::takeResults);
    connect(m_watcher.get(), &QFutureWatcherBase::finished, this, [this] {
        m_complete = true;
        if (m_firstFrom >= 0 && !m_matches.empty())
            goTo(0); // nothing after the place asked for: the first match of the text
        m_firstFrom = -1;
        Q_EMIT statusChanged();
    });
    m_watcher->setFuture(promise->future());
    promise->start();
    BackgroundPool::instance()->start([promise, query, text = m_text] {
        const QString searched = withPlainLineEnds(text);
        const QStringView whole(searched);
        qsizetype begin = 0;
        while (begin < whole.size() && !promise->isCanceled()) {
            // Slices end with a line, and no match crosses a line break.
            qsizetype end = LineBreaks::lineEnd(whole, std::min(whole.size(), begin + sliceSize));
            end = std::min(whole.size(), end + 1);
            QList<TextMatch> matches = query.matchesIn(whole.sliced(begin, end - begin));
            for (TextMatch &match : matches)
                match.start += begin;
            promise->addResult(matches);
            begin = end;
        }
        promise->finish();
    });
    updateHighlights();
    Q_EMIT statusChanged();
}

void SourceTextFind::takeResults(int begin, int end)
{
    for (int i = begin; i < end; ++i) {
        const QList<TextMatch> matches = m_watcher->resultAt(i);
        m_matches.insert(m_matches.end(), matches.cbegin(), matches.cend());
    }
    if (m_firstFrom >= 0) {
        const auto first = std::lower_bound(
            m_matches.begin(), m_matches.end(), m_firstFrom,
            [](const TextMatch &match, qsizetype position) { return match.start < position; });
        if (first != m_matches.end()) {
            m_firstFrom = -1;
            goTo(int(first - m_matches.begin()));
        }
    }
    updateHighlights();
    Q_EMIT statusChanged();
}

void SourceTextFind::step(FindDirection direction)
{
    if (m_matches.empty())
        return;
    const int from = m_pending >= 0 ? m_pending : m_current;
    const int count = int(m_matches.size());
    m_firstFrom = -1;
    if (direction == FindDirection::forward)
        goTo(from < 0 ? 0 : (from + 1) % count);
    else
        goTo(from <= 0 ? count - 1 : from - 1);
}

void SourceTextFind::clear()
{
    if (m_watcher) {
        m_watcher->disconnect(this);
        m_watcher->future().cancel();
        m_watcher.reset();
    }
    const bool wasActive = !m_query.isEmpty();
    m_query = {};
    m_matches.clear();
    m_current = -1;
    m_pending = -1;
    m_firstFrom = -1;
    m_complete = true;
    if (wasActive) {
        updateHighlights();
        Q_EMIT statusChanged();
    }
}

FindStatus SourceTextFind::status() const
{
    return {m_current + 1, int(m_matches.size()), m_complete};
}

void SourceTextFind::goTo(int index)
{
    const TextMatch &match = m_matches[size_t(index)];
    if (match.end() >= m_view->document()->characterCount()) {
        m_pending = index; // shown once the view has taken in the text that far
        return;
    }
    m_pending = -1;
    m_current = index;
    QTextCursor cursor(m_view->document());
    cursor.setPosition(int(match.start));
    const QRect shown = m_view->cursorRect(cursor);
    if (shown.top() < 0 || shown.bottom() > m_view->viewport()->height()) {
        m_view->setTextCursor(cursor);
        m_view->centerCursor();
    }
    updateHighlights();
    Q_EMIT statusChanged();
}

void SourceTextFind::updateHighlights()
{
    QList<QTextEdit::ExtraSelection> selections;
    if (!m_query.isEmpty() && !m_matches.empty()) {
        const qsizetype first = m_view->cursorForPosition(QPoint(0, 0)).block().position();
        const QTextBlock lastShown =
            m_view->cursorForPosition(QPoint(m_view->viewport()->width(), m_view->viewport()->height()))
                .block();
        const qsizetype last = lastShown.position() + lastShown.length();
        const Appearance appearance = appearanceOf(m_view->palette());
        const QColor match = findMatchTint.resolve(appearance);
        const QColor current = currentFindMatchTint.resolve(appearance);
        const auto firstShown = std::lower_bound(
            m_matches.begin(), m_matches.end(), first,
            [](const TextMatch &match, qsizetype position) { return match.end() <= position; });
        for (auto it = firstShown; it != m_matches.end() && it->start < last; ++it) {
            QTextEdit::ExtraSelection selection;
            selection.cursor = QTextCursor(m_view->document());
            selection.cursor.setPosition(int(it->start));
            selection.cursor.setPosition(int(it->end()), QTextCursor::KeepAnchor);
            const bool isCurrent = int(it - m_matches.begin()) == m_current;
            selection.format.setBackground(isCurrent ? current : match);
            selections.append(selection);
        }
    }
    m_view->setExtraSelections(selections);
}

} // namespace kestrune
