#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QUrl>

#include <memory>

namespace kestrune {

class FileVersionsPopup;
class MarkdownPreviewView;

// The history of the file on show in the preview, from the project's git repository, read and
// never written: the commits that changed the file (renames followed) are read on the thread
// pool and put into the preview's list of versions as they arrive, and the read is cancelled
// when the list closes or another file comes on show. The version chosen is read on the pool
// too and handed to the preview, which shows it under its band; the preview itself knows no git.
//
// A project found to have no history (not in a git work tree, a bare repository, no commit yet)
// says why once, in the list; its previews offer no history from then on.
class FileHistoryBrowser : public QObject
{
    Q_OBJECT

public:
    explicit FileHistoryBrowser(QObject *parent = nullptr);
    ~FileHistoryBrowser() override;

    // Follows a preview made for the detail area: its History button, and whether its project
    // offers a history.
    void attach(MarkdownPreviewView &preview);
    // Tells the preview whether its project offers a history (again when it shows another file).
    void offer(MarkdownPreviewView &preview) const;
    // Lists the versions of the file on show in `preview`, under its History button.
    void showHistory(MarkdownPreviewView &preview);
    // Whether a list is being filled.
    bool isReading() const;

Q_SIGNALS:
    // A list was filled to its end (or its read was cancelled).
    void historyRead();

private:
    struct Read;

    void takeBatches(int begin, int end);
    void finishRead();
    void cancelRead();
    void showVersion(int index);

    std::unique_ptr<Read> m_read;
    // Project folders found to have no history.
    QSet<QString> m_withoutHistory;
    int m_readSerial = 0;    // the latest list opened
    int m_versionSerial = 0; // the latest version asked for; earlier ones are dropped
};

} // namespace kestrune
