#include "reading/readingmarks.h"

#include "project/regularfilereader.h"
#include "project/treenode.h"
#include "reading/readingpaths.h"
#include "reading/readingstorefiles.h"

#include <algorithm>

namespace kestrune {

namespace {

// The preview reads no larger file; a larger one whose date moved counts as changed.
constexpr qint64 largestComparedFile = qint64(64) << 20;

class MarkWalk
{
public:
    MarkWalk(const ReadingRecord &record, QString rootPath, ReadingMarks &marks)
        : m_record(record), m_rootPath(std::move(rootPath)), m_marks(marks)
    {
        m_present.reserve(record.files.size());
    }

    // Marks the node's subtree; whether it holds an unread file.
    bool visit(const TreeNode &node)
    {
        if (!node.children)
            return node.kind == TreeNodeKind::markdownFile && visitFile(node);
        bool unread = false;
        for (const TreeNode &child : *node.children)
            unread |= visit(child);
        if (unread)
            m_marks.foldersWithUnread.insert(node.kind == TreeNodeKind::projectRoot
                                                 ? QString()
                                                 : ReadingPaths::relativeTo(m_rootPath, node.url));
        return unread;
    }

    void collectRemoved()
    {
        for (const SeenFile &file : m_record.files)
            if (!m_present.contains(file.relativePath))
                m_marks.removed.append(RemovedFile{file.relativePath, file.seenAt, file.hasText});
        std::sort(m_marks.removed.begin(), m_marks.removed.end(),
                  [](const RemovedFile &left, const RemovedFile &right) {
                      return left.relativePath < right.relativePath;
                  });
    }

private:
    bool visitFile(const TreeNode &node)
    {
        const QString relativePath = ReadingPaths::relativeTo(m_rootPath, node.url);
        if (relativePath.isEmpty())
            return false;
        m_present.insert(relativePath);
        const auto seen = m_record.files.constFind(relativePath);
        FileReadingMark mark;
        if (seen == m_record.files.cend()) {
            mark.state = ReadingState::added;
        } else {
            mark.hasSeenText = seen->hasText;
            // Compared as instants: the outline's dates are local, the store's UTC.
            const qint64 modified = node.modificationDate ? node.modificationDate->toMSecsSinceEpoch() : -1;
            const qint64 seenModified =
                seen->modificationDate.isValid() ? seen->modificationDate.toMSecsSinceEpoch() : -1;
            if (modified == seenModified)
                return false;
            mark.state = ReadingState::changed;
            if (!seen->contentHash.isEmpty() && !node.linksOutsideProject) {
                const RegularFileReader::Content content =
                    RegularFileReader::read(node.url.toLocalFile(), largestComparedFile);
                if (content.error != FileReadError::none)
                    mark.readError = content.error;
                else if (content.bytes.size() == seen->size &&
                         ReadingStoreFiles::hashOf(content.bytes) == seen->contentHash)
                    return false; // touched, not changed
            }
        }
        m_marks.files.insert(relativePath, mark);
        return true;
    }

    const ReadingRecord &m_record;
    QString m_rootPath;
    ReadingMarks &m_marks;
    QSet<QString> m_present;
};

} // namespace

ReadingMarks ReadingMarks::compute(const TreeNode &tree, const ReadingRecord &record)
{
    ReadingMarks marks;
    if (!record.hasBaseline()) {
        marks.firstImport = true;
        return marks;
    }
    MarkWalk walk(record, ReadingPaths::rootPathOf(tree), marks);
    walk.visit(tree);
    walk.collectRemoved();
    return marks;
}

} // namespace kestrune
