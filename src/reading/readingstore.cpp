#include "reading/readingstore.h"

#include "project/treenode.h"
#include "reading/readingbaseline.h"
#include "reading/readingstatefolder.h"
#include "reading/readingstorefiles.h"
#include "text/backgroundthread.h"

#include <QMetaObject>

#include <utility>

namespace kestrune {

ReadingStore::ReadingStore(const QString &projectFolder, QObject *parent)
    : ReadingStore(projectFolder, ReadingStateFolder::root(), parent)
{}

ReadingStore::ReadingStore(const QString &projectFolder, const QString &stateRoot, QObject *parent)
    : QObject(parent), m_projectPath(ReadingStateFolder::canonicalProjectPath(projectFolder))
{
    m_record.projectPath = m_projectPath;
    if (!m_projectPath.isEmpty())
        m_files = std::make_shared<const ReadingStoreFiles>(
            ReadingStateFolder::ofProject(stateRoot, m_projectPath), m_projectPath);
    m_worker.setMaxThreadCount(1);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDelay);
    connect(&m_saveTimer, &QTimer::timeout, this, &ReadingStore::save);
}

ReadingStore::~ReadingStore()
{
    if (m_unsaved)
        save();
    m_worker.waitForDone();
}

QString ReadingStore::folder() const
{
    return m_files ? m_files->folder() : QString();
}

void ReadingStore::setTextBound(qint64 bytes)
{
    m_textBound = bytes;
    if (!m_record.dropTextsBeyond(m_textBound).isEmpty())
        changeRecord();
}

// Runs `work` on the worker; what it returns comes back to the window's thread through the
// function it returns, called there with the store as context (dropped if the store is gone). The
// worker yields to the window's thread: an import's baseline is taken while its views are painted.
template <typename Work> void ReadingStore::run(Work &&work)
{
    m_worker.start([this, work = std::forward<Work>(work)]() mutable {
        BackgroundThread::yieldToWindow();
        auto deliver = work();
        QMetaObject::invokeMethod(this, std::move(deliver), Qt::QueuedConnection);
    });
}

void ReadingStore::load()
{
    if (!m_files) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_loaded = true;
                Q_EMIT loaded();
            },
            Qt::QueuedConnection);
        return;
    }
    run([this, files = m_files] {
        ReadingStoreFiles::Loaded result = files->load();
        return [this, result = std::move(result)]() mutable {
            m_record = std::move(result.record);
            m_storedTextBytes = -1;
            m_loaded = true;
            if (result.notice)
                Q_EMIT noticeRaised(*result.notice);
            Q_EMIT recordChanged();
            Q_EMIT loaded();
            if (const auto tree = std::exchange(m_firstImportAfterLoad, nullptr))
                recordFirstImport(tree);
            if (const auto tree = std::exchange(m_marksAfterLoad, nullptr))
                computeMarks(tree);
        };
    });
}

void ReadingStore::recordFirstImport(const std::shared_ptr<const TreeNode> &tree)
{
    if (!m_loaded) { // the store may hold a baseline already
        m_firstImportAfterLoad = tree;
        return;
    }
    if (m_record.hasBaseline() || !tree)
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    m_record.firstImport = now; // asked twice, taken once
    ++m_changesOnTheirWay;
    run([this, tree, now, generation = m_forgetGeneration] {
        QHash<QString, SeenFile> baseline = ReadingBaseline::of(*tree, now);
        return [this, baseline = std::move(baseline), generation]() mutable {
            finishChange();
            if (generation != m_forgetGeneration)
                return;
            // Nothing seen meanwhile, as a first import almost always is: the baseline is taken
            // whole, without a lookup per file on the window's thread.
            if (m_record.files.isEmpty()) {
                m_record.files = std::move(baseline);
            } else {
                for (auto it = baseline.cbegin(); it != baseline.cend(); ++it)
                    if (!m_record.files.contains(it.key())) // seen meanwhile: newer than the baseline
                        m_record.files.insert(it.key(), it.value());
            }
            changeRecord();
            Q_EMIT firstImportRecorded();
        };
    });
}

void ReadingStore::markSeen(const QString &relativePath, const QByteArray &bytes,
                            const QDateTime &modificationDate)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const quint64 serial = ++m_seenSerial;
    ++m_changesOnTheirWay;
    run([this, files = m_files, state = m_workerState, relativePath, bytes, modificationDate, now,
         bound = m_textBound, serial, generation = m_forgetGeneration] {
        SeenFile file = ReadingBaseline::seenNow(relativePath, bytes, modificationDate, now);
        if (files && bytes.size() <= bound) {
            if (const std::optional<qint64> stored = files->keepText(file.contentHash, bytes)) {
                file.hasText = true;
                file.storedTextSize = *stored;
                state->textsOnTheirWay.insert(serial, file.contentHash);
            }
        }
        return [this, file = std::move(file), serial, generation] {
            m_seenMerged = serial;
            finishChange();
            if (generation != m_forgetGeneration)
                return;
            m_record.files.insert(file.relativePath, file);
            m_record.dropTextsBeyond(m_textBound);
            changeRecord();
            Q_EMIT seenRecorded(file.relativePath);
        };
    });
}

void ReadingStore::markAllSeen(const std::shared_ptr<const TreeNode> &tree)
{
    if (!tree)
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    ++m_changesOnTheirWay;
    run([this, tree, now, generation = m_forgetGeneration] {
        QHash<QString, SeenFile> current = ReadingBaseline::of(*tree, now);
        return [this, current = std::move(current), generation]() mutable {
            finishChange();
            if (generation != m_forgetGeneration)
                return;
            // A text seen still matches while the file has the date it had then: keep it.
            for (auto it = current.begin(); it != current.end(); ++it) {
                const auto before = m_record.files.constFind(it.key());
                if (before != m_record.files.cend() && before->modificationDate == it->modificationDate)
                    it.value() = *before;
            }
            m_record.files = std::move(current);
            if (!m_record.hasBaseline())
                m_record.firstImport = QDateTime::currentDateTimeUtc();
            changeRecord();
        };
    });
}

void ReadingStore::forget()
{
    m_record = ReadingRecord{m_projectPath, std::nullopt, {}};
    m_storedTextBytes = -1;
    ++m_forgetGeneration;
    m_firstImportAfterLoad = nullptr;
    m_unsaved = false;
    m_unchangedTextsAsked = false;
    m_saveTimer.stop();
    Q_EMIT recordChanged();
    if (!m_files)
        return;
    run([files = m_files, state = m_workerState] {
        files->forget();
        state->textsOnTheirWay.clear();
        state->unchangedTexts.clear();
        return [] {};
    });
}

void ReadingStore::computeMarks(const std::shared_ptr<const TreeNode> &tree)
{
    if (!tree)
        return;
    if (!m_loaded) {
        m_marksAfterLoad = tree;
        return;
    }
    ReadingRecord record = m_record;
    if (!record.hasBaseline()) {
        recordFirstImport(tree); // and nothing is marked
    } else if (m_changesOnTheirWay > 0) {
        // Marked against the record once what was asked before has changed it. A first import's
        // date is set at once but its files come later: the unchanged texts wait for them too.
        ++m_marksSerial;
        m_marksAfterChanges = tree;
        return;
    } else if (!m_unchangedTextsAsked) {
        keepUnchangedTexts(tree);
    }
    const quint64 serial = ++m_marksSerial;
    run([this, tree, record = std::move(record), serial] {
        ReadingMarks marks = ReadingMarks::compute(*tree, record);
        CardReadingFacts facts = CardReadingFacts::compute(*tree, record, marks);
        return [this, marks = std::move(marks), facts = std::move(facts), serial] {
            if (serial == m_marksSerial)
                Q_EMIT marksComputed(marks, facts);
        };
    });
}

void ReadingStore::keepUnchangedTexts(const std::shared_ptr<const TreeNode> &tree)
{
    m_unchangedTextsAsked = true;
    if (!m_files || !tree)
        return;
    run([this, tree, record = m_record, state = m_workerState] {
        state->unchangedTexts = UnchangedTextCapture::candidates(*tree, record);
        return [this] { keepNextUnchangedTexts(); };
    });
}

// One batch at a time, each asked once the last has arrived, so that files seen meanwhile are
// recorded between them and a save never misses a text kept.
void ReadingStore::keepNextUnchangedTexts()
{
    if (m_storedTextBytes < 0)
        m_storedTextBytes = m_record.storedTextBytes();
    const qint64 budget = m_textBound - m_storedTextBytes;
    const quint64 serial = ++m_seenSerial;
    run([this, files = m_files, state = m_workerState, budget, serial, generation = m_forgetGeneration] {
        QList<SeenFile> kept;
        if (budget > 0)
            kept = UnchangedTextCapture::keepNext(state->unchangedTexts, *files, budget);
        else
            state->unchangedTexts.clear();
        for (const SeenFile &file : std::as_const(kept))
            state->textsOnTheirWay.insert(serial, file.contentHash);
        const bool done = state->unchangedTexts.empty();
        return [this, kept = std::move(kept), serial, generation, done] {
            m_seenMerged = serial;
            if (generation != m_forgetGeneration)
                return;
            bool changed = false;
            for (const SeenFile &text : kept) {
                const auto seen = m_record.files.find(text.relativePath);
                // Seen again meanwhile, or known by another text: the newer record stands.
                if (seen == m_record.files.end() || seen->hasText ||
                    seen->modificationDate != text.modificationDate ||
                    (!seen->contentHash.isEmpty() && seen->contentHash != text.contentHash))
                    continue;
                if (m_storedTextBytes < 0)
                    m_storedTextBytes = m_record.storedTextBytes();
                // The bound may have been lowered while the batch was read: it holds as it is now.
                if (m_storedTextBytes + text.storedTextSize > m_textBound)
                    continue;
                seen->size = text.size;
                seen->contentHash = text.contentHash;
                seen->hasText = true;
                seen->storedTextSize = text.storedTextSize;
                m_storedTextBytes += text.storedTextSize;
                changed = true;
            }
            if (changed) {
                m_unsaved = true;
                if (!m_saveTimer.isActive())
                    m_saveTimer.start();
            }
            if (done)
                Q_EMIT unchangedTextsKept();
            else
                keepNextUnchangedTexts();
        };
    });
}

void ReadingStore::readSeenText(const QString &relativePath)
{
    run([this, files = m_files, relativePath, file = m_record.files.value(relativePath)] {
        std::optional<QByteArray> text = files ? files->text(file) : std::nullopt;
        return [this, relativePath, text = std::move(text)] { Q_EMIT seenTextRead(relativePath, text); };
    });
}

void ReadingStore::saveNow()
{
    if (m_unsaved)
        save();
}

void ReadingStore::finishChange()
{
    if (--m_changesOnTheirWay == 0)
        if (const auto tree = std::exchange(m_marksAfterChanges, nullptr))
            QMetaObject::invokeMethod(
                this, [this, tree] { computeMarks(tree); }, Qt::QueuedConnection);
}

void ReadingStore::changeRecord()
{
    m_storedTextBytes = -1;
    m_unsaved = true;
    if (!m_saveTimer.isActive())
        m_saveTimer.start();
    Q_EMIT recordChanged();
}

void ReadingStore::save()
{
    m_saveTimer.stop();
    m_unsaved = false;
    if (!m_files)
        return;
    run([this, files = m_files, state = m_workerState, record = m_record, merged = m_seenMerged] {
        const bool written = files->saveIndex(record);
        // Texts whose records arrived are named by the record or no longer wanted.
        auto &onTheirWay = state->textsOnTheirWay;
        onTheirWay.erase(onTheirWay.begin(), onTheirWay.upperBound(merged));
        if (written)
            files->removeTextsOutside(record, onTheirWay.values());
        return [this, written] { Q_EMIT saved(written); };
    });
}

} // namespace kestrune
