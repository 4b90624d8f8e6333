#pragma once

#include "reading/cardreadingfacts.h"
#include "reading/readingmarks.h"
#include "reading/readingrecord.h"
#include "reading/readingstorenotice.h"
#include "reading/unchangedtextcapture.h"

#include <QByteArray>
#include <QDateTime>
#include <QMultiMap>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <deque>
#include <memory>
#include <optional>

namespace kestrune {

class ReadingStoreFiles;
struct TreeNode;

// What the reader has seen of one project, kept across runs in the user's state folder
// (ReadingStateFolder), never in the project folder. Lives on the window's thread; every read and
// write of the disk, every hash and every compression runs on a worker of its own, one task at a
// time in the order asked, and comes back as a signal on the window's thread.
//
// Changes are saved together: the index is written at most every `saveDelay` after the first
// change since the last save, and once more when the store is destroyed (which waits for its
// worker). Seen texts are kept compressed, each once, and all of them together within
// `textBound` bytes: past it the texts of the least recently seen files are dropped, their other
// facts kept, so such a file later reads as "changed, no earlier text".
//
// Two instances of the program on one project: the last to save wins, the whole index at once
// (see ReadingStoreFiles); what the other one saw meanwhile is lost, the store is never damaged.
class ReadingStore : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 defaultTextBound = qint64(64) << 20;
    static constexpr int saveDelay = 500; // milliseconds

    // The store of the project folder at `projectFolder`, kept below `stateRoot` (by default
    // ReadingStateFolder::root()). Nothing is read until load().
    explicit ReadingStore(const QString &projectFolder, QObject *parent = nullptr);
    ReadingStore(const QString &projectFolder, const QString &stateRoot, QObject *parent = nullptr);
    ~ReadingStore() override;

    // The project folder's canonical path: what the store is keyed by. Empty when the folder did
    // not exist; such a store stays empty and writes nothing.
    const QString &projectPath() const { return m_projectPath; }
    // The folder the store writes (empty with the project path).
    QString folder() const;

    bool isLoaded() const { return m_loaded; }
    // What was seen, as of the latest result; empty before loaded().
    const ReadingRecord &record() const { return m_record; }

    qint64 textBound() const { return m_textBound; }
    void setTextBound(qint64 bytes);

    // Reads the store: loaded() follows, after noticeRaised() when it had to be set aside.
    void load();
    // Records the first import (every file of `tree` seen as it is now) unless the project has a
    // baseline already; firstImportRecorded() follows.
    void recordFirstImport(const std::shared_ptr<const TreeNode> &tree);
    // The reader has seen the file's bytes, with the file at `modificationDate`;
    // seenRecorded(relativePath) follows once its text is kept.
    void markSeen(const QString &relativePath, const QByteArray &bytes, const QDateTime &modificationDate);
    // Every file of `tree` counts as seen as it is now; files seen before and gone are forgotten.
    void markAllSeen(const std::shared_ptr<const TreeNode> &tree);
    // Forgets everything seen in the project and removes its store; the next first import
    // records a new baseline.
    void forget();
    // Computes the marks of `tree` and its cards' facts on the worker; marksComputed() follows, unless a
    // later request overtook this one. A project without a baseline is being imported for the first time:
    // nothing is marked, and its baseline is recorded from `tree`.
    void computeMarks(const std::shared_ptr<const TreeNode> &tree);
    // Keeps, a batch at a time, the texts of the files of `tree` that count as seen but whose
    // text the store does not hold (as after the first import), while they are unchanged; asked
    // once, by the first marks computed with a baseline. No recordChanged() follows: the marks
    // stay as they are, only a later change of such a file can be shown against its text.
    void keepUnchangedTexts(const std::shared_ptr<const TreeNode> &tree);
    // Reads the text seen of a file; seenTextRead(relativePath, text) follows, with nothing when
    // the store holds none.
    void readSeenText(const QString &relativePath);
    // Saves now instead of after the delay.
    void saveNow();

Q_SIGNALS:
    void loaded();
    void noticeRaised(const kestrune::ReadingStoreNotice &notice);
    void recordChanged();
    void firstImportRecorded();
    void seenRecorded(const QString &relativePath);
    void marksComputed(const kestrune::ReadingMarks &marks, const kestrune::CardReadingFacts &facts);
    void seenTextRead(const QString &relativePath, const std::optional<QByteArray> &text);
    // keepUnchangedTexts() has kept every text it could.
    void unchangedTextsKept();
    // An index write finished; `written` is false when the system refused it.
    void saved(bool written);

private:
    // What only the worker touches: the texts kept by seen files whose records have not reached
    // the window's thread yet, by the serial of their markSeen, so that a save taken before they
    // arrive does not remove them as unnamed.
    struct WorkerState
    {
        QMultiMap<quint64, QByteArray> textsOnTheirWay;
        std::deque<UnchangedTextCapture::Candidate> unchangedTexts; // still to be kept
    };

    // A change of the record asked for has arrived; marks asked for meanwhile follow the last.
    void finishChange();
    void keepNextUnchangedTexts();
    void changeRecord();
    void save();
    template <typename Work> void run(Work &&work);

    QString m_projectPath;
    std::shared_ptr<const ReadingStoreFiles> m_files;
    std::shared_ptr<WorkerState> m_workerState = std::make_shared<WorkerState>();
    ReadingRecord m_record;
    bool m_loaded = false;
    bool m_unsaved = false;
    bool m_unchangedTextsAsked = false;
    std::shared_ptr<const TreeNode> m_firstImportAfterLoad;
    std::shared_ptr<const TreeNode> m_marksAfterLoad;
    std::shared_ptr<const TreeNode> m_marksAfterChanges;
    int m_changesOnTheirWay = 0; // record changes asked for whose results have not arrived
    quint64 m_marksSerial = 0;
    quint64 m_seenSerial = 0;       // of the latest markSeen asked for
    quint64 m_seenMerged = 0;       // of the latest whose record arrived
    quint64 m_forgetGeneration = 0; // results asked for before a forget() are dropped
    qint64 m_textBound = defaultTextBound;
    // The bytes of the texts the record holds, while the record is only added kept texts (a sum
    // over every file, asked before each batch of those, took the window's thread most of a
    // millisecond each time on a large project); -1 when it must be counted again.
    qint64 m_storedTextBytes = -1;
    QTimer m_saveTimer;
    QThreadPool m_worker;
};

} // namespace kestrune
