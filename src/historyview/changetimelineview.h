#pragma once

#include "history/changetimeline.h"
#include "historyview/changetimelineinput.h"

#include <QFuture>
#include <QWidget>

#include <optional>

class QListView;
class QStackedLayout;
template <typename T> class QFutureWatcher;

namespace kestrune {

class CenteredTextView;
class ChangeTimelineModel;
class ElidedLabel;
class LoadingIndicator;
class NoticeBar;

// The history of one change in the project's git: a row for each commit that touched its
// folder, newest first, back to its proposal (past the move into the archive).
//
// The timeline is read on the thread pool and shown batch by batch as it arrives: a loading
// indicator until the first row, then the rows with "Reading…" in the header until the end.
// Another change, a read again or the view's end cancels the read in flight (the future is
// cancelled; the pool stops between two commits). What could not be read (a corrupt object) is
// said in a notice above the rows that could; a project with no history says why instead.
class ChangeTimelineView : public QWidget
{
    Q_OBJECT

public:
    explicit ChangeTimelineView(const ChangeTimelineInput &input, QWidget *parent = nullptr);
    ~ChangeTimelineView() override;

    const ChangeTimelineInput &input() const { return m_input; }
    // Another change: the rows go and its timeline is read. The same change: nothing.
    void setInput(const ChangeTimelineInput &input);
    // The repository moved on: reads the timeline again; the rows on show stay until the new
    // read's first batch replaces them.
    void reload();

    bool isReading() const;
    // The read in flight or the last one, for tests.
    QFuture<ChangeTimelineBatch> reading() const { return m_reading; }
    // How the last read ended, once it did.
    const std::optional<HistoryOutcome> &outcome() const { return m_outcome; }

    ChangeTimelineModel *model() const { return m_model; }
    QListView *listView() const { return m_list; }
    NoticeBar *notice() const { return m_notice; }
    // The text shown in place of the rows (no history, no commit); empty while rows show.
    QString placeholderText() const;

Q_SIGNALS:
    // A batch of rows was put on show.
    void rowsShown(int count);
    // The read ended (complete, partial or without history).
    void finished();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void start();
    void cancel();
    void onResults(int begin, int end);
    void onFinished();
    void showPlaceholder(const QString &text);
    void updateHeader();

    ChangeTimelineInput m_input;
    ChangeTimelineModel *m_model = nullptr;
    ElidedLabel *m_title = nullptr;
    ElidedLabel *m_folder = nullptr;
    ElidedLabel *m_status = nullptr;
    NoticeBar *m_notice = nullptr;
    QStackedLayout *m_stack = nullptr;
    LoadingIndicator *m_loading = nullptr;
    QListView *m_list = nullptr;
    CenteredTextView *m_placeholder = nullptr;
    QFutureWatcher<ChangeTimelineBatch> *m_watcher = nullptr;
    QFuture<ChangeTimelineBatch> m_reading;
    std::optional<HistoryOutcome> m_outcome;
    // A read again keeps the old rows until its first batch.
    bool m_replaceRows = false;
};

} // namespace kestrune
