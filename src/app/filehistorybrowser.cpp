#include "app/filehistorybrowser.h"

#include "history/filehistory.h"
#include "history/historyrepository.h"
#include "historyview/historyunavailabletext.h"
#include "preview/fileversionspopup.h"
#include "preview/markdownpreviewheader.h"
#include "preview/markdownpreviewview.h"
#include "text/backgroundpool.h"
#include "text/daystring.h"
#include "text/deliverwhenfinished.h"
#include "ui/localization.h"

#include <QDir>
#include <QFutureWatcher>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>
#include <QThreadPool>
#include <QToolTip>

namespace kestrune {

namespace {

FileVersionsPopup::Entry rowOf(const FileHistoryEntry &entry)
{
    return {entry.commit.sha, dayString(entry.commit.time), entry.commit.author, entry.commit.subject,
            entry.kind == FileChangeKind::renamed ? entry.previousPath : QString()};
}

// What reading a version brings back to the window's thread.
struct VersionRead
{
    std::optional<QByteArray> bytes;
    QString why;
};

} // namespace

struct FileHistoryBrowser::Read
{
    QFutureWatcher<FileHistoryBatch> watcher;
    QPointer<FileVersionsPopup> popup;
    QPointer<MarkdownPreviewView> preview;
    QString projectFolder;
    QUrl file;
    // What each row of the list stands for: the commit and the file's path in it.
    QList<FileHistoryEntry> entries;
};

FileHistoryBrowser::FileHistoryBrowser(QObject *parent) : QObject(parent) {}

FileHistoryBrowser::~FileHistoryBrowser()
{
    cancelRead();
}

void FileHistoryBrowser::offer(MarkdownPreviewView &preview) const
{
    preview.setHistoryOffered(!m_withoutHistory.contains(preview.projectFolder()));
}

void FileHistoryBrowser::attach(MarkdownPreviewView &preview)
{
    offer(preview);
    connect(&preview, &MarkdownPreviewView::historyRequested, this,
            [this, shown = QPointer<MarkdownPreviewView>(&preview)] {
                if (shown)
                    showHistory(*shown);
            });
}

bool FileHistoryBrowser::isReading() const
{
    return m_read && m_read->watcher.isRunning();
}

void FileHistoryBrowser::showHistory(MarkdownPreviewView &preview)
{
    cancelRead();
    const int serial = ++m_readSerial; // a list closing from now on is an earlier one
    const QUrl file = preview.fileURL();
    if (!file.isLocalFile())
        return;
    m_read = std::make_unique<Read>();
    Read &read = *m_read;
    read.preview = &preview;
    read.file = file;
    read.projectFolder = preview.projectFolder();
    read.popup = preview.openVersionsPopup();
    // Closing the list, or another file (which closes it), ends the read.
    connect(read.popup, &QObject::destroyed, this, [this, serial] {
        if (serial == m_readSerial)
            cancelRead();
    });
    connect(read.popup, &FileVersionsPopup::versionChosen, this, &FileHistoryBrowser::showVersion);
    connect(&read.watcher, &QFutureWatcherBase::resultsReadyAt, this, &FileHistoryBrowser::takeBatches);
    connect(&read.watcher, &QFutureWatcherBase::finished, this, &FileHistoryBrowser::finishRead);
    read.watcher.setFuture(FileHistory::start(read.projectFolder, file.toLocalFile()));
}

void FileHistoryBrowser::takeBatches(int begin, int end)
{
    if (!m_read)
        return;
    Read &read = *m_read;
    for (int index = begin; index < end; ++index) {
        const FileHistoryBatch batch = read.watcher.resultAt(index);
        QList<FileVersionsPopup::Entry> rows;
        rows.reserve(batch.entries.size());
        for (const FileHistoryEntry &entry : batch.entries) {
            read.entries.append(entry);
            rows.append(rowOf(entry));
        }
        if (read.popup && !rows.isEmpty())
            read.popup->appendVersions(rows);
        if (!batch.outcome)
            continue;
        const HistoryOutcome &outcome = *batch.outcome;
        QString message;
        if (outcome.end == HistoryOutcome::End::unavailable) {
            message = HistoryUnavailableText::of(outcome.reason, outcome.messages.join(u' '));
            m_withoutHistory.insert(read.projectFolder);
            if (read.preview)
                read.preview->setHistoryOffered(false);
        } else if (outcome.isPartial()) {
            message = Localization::format("history.file.partial", outcome.messages.join(u' '));
        }
        if (read.popup)
            read.popup->finish(message);
    }
}

void FileHistoryBrowser::finishRead()
{
    if (m_read && m_read->popup && !m_read->popup->isFinished())
        m_read->popup->finish();
    Q_EMIT historyRead();
}

void FileHistoryBrowser::cancelRead()
{
    if (!m_read)
        return;
    // The read stops between two commits; nothing it finds after this reaches the window.
    m_read->watcher.disconnect(this);
    m_read->watcher.cancel();
    // The entries stay for a version chosen from the list that is closing.
    m_read->watcher.setFuture(QFuture<FileHistoryBatch>());
}

void FileHistoryBrowser::showVersion(int index)
{
    if (!m_read || index < 0 || index >= m_read->entries.size())
        return;
    const FileHistoryEntry entry = m_read->entries.at(index);
    const QPointer<MarkdownPreviewView> preview = m_read->preview;
    const QUrl file = m_read->file;
    const QString projectFolder = m_read->projectFolder;
    const int serial = ++m_versionSerial;
    const QFuture<VersionRead> reading =
        QtConcurrent::run(BackgroundPool::instance(), [projectFolder, entry] {
            VersionRead read;
            const HistoryRepository::Opening opening = HistoryRepository::open(projectFolder);
            if (!opening.repository) {
                read.why = opening.message;
                return read;
            }
            read.bytes = opening.repository->fileAt(entry.commit.sha, entry.path, &read.why);
            return read;
        });
    deliverWhenFinished(this, reading, [this, serial, preview, file, entry](const VersionRead &read) {
        // Another version was asked for since, or another file is on show.
        if (serial != m_versionSerial || !preview || preview->fileURL() != file)
            return;
        if (!read.bytes) {
            const QWidget *button = preview->header()->historyButton();
            QToolTip::showText(button->mapToGlobal(QPoint(0, button->height())),
                               Localization::format("history.version.unreadable", read.why), preview);
            return;
        }
        preview->showVersion(
            {entry.commit.sha, dayString(entry.commit.time), entry.commit.subject, *read.bytes});
    });
}

} // namespace kestrune
