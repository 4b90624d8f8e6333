#include "reading/unchangedtextcapture.h"

#include "project/localfilesystem.h"
#include "project/regularfilereader.h"
#include "project/treenode.h"
#include "reading/readingpaths.h"
#include "reading/readingstorefiles.h"

namespace kestrune {

namespace {

// The preview reads no larger file, so a larger text could never be compared.
constexpr qint64 largestText = qint64(64) << 20;

void collect(const TreeNode &node, const QString &projectPath, const ReadingRecord &record,
             std::deque<UnchangedTextCapture::Candidate> &into)
{
    if (node.children) {
        for (const TreeNode &child : *node.children)
            collect(child, projectPath, record, into);
        return;
    }
    if (node.kind != TreeNodeKind::markdownFile || node.linksOutsideProject || !node.modificationDate)
        return;
    const QString relativePath = ReadingPaths::relativeTo(projectPath, node.url);
    const auto seen = record.files.constFind(relativePath);
    if (relativePath.isEmpty() || seen == record.files.cend() || seen->hasText ||
        seen->modificationDate != *node.modificationDate)
        return;
    into.push_back({relativePath, node.url.toLocalFile(), seen->modificationDate});
}

} // namespace

std::deque<UnchangedTextCapture::Candidate> UnchangedTextCapture::candidates(const TreeNode &tree,
                                                                             const ReadingRecord &record)
{
    std::deque<Candidate> found;
    collect(tree, ReadingPaths::rootPathOf(tree), record, found);
    return found;
}

QList<SeenFile> UnchangedTextCapture::keepNext(std::deque<Candidate> &pending, const ReadingStoreFiles &files,
                                               qint64 budget)
{
    QList<SeenFile> kept;
    const LocalFileSystem &fileSystem = *LocalFileSystem::shared();
    qint64 bytesRead = 0;
    for (int taken = 0; taken < filesPerBatch && bytesRead < bytesPerBatch && !pending.empty(); ++taken) {
        const Candidate candidate = std::move(pending.front());
        pending.pop_front();
        if (fileSystem.contentModificationDate(candidate.localPath) != candidate.modificationDate)
            continue;
        const RegularFileReader::Content content =
            RegularFileReader::read(candidate.localPath, std::min(largestText, budget));
        bytesRead += content.bytes.size();
        // Written again while it was read: what was seen is no longer known.
        if (content.error != FileReadError::none ||
            fileSystem.contentModificationDate(candidate.localPath) != candidate.modificationDate)
            continue;
        SeenFile file;
        file.relativePath = candidate.relativePath;
        file.modificationDate = candidate.modificationDate;
        file.size = content.bytes.size();
        file.contentHash = ReadingStoreFiles::hashOf(content.bytes);
        const std::optional<qint64> stored = files.keepText(file.contentHash, content.bytes);
        if (!stored)
            continue;
        file.hasText = true;
        file.storedTextSize = *stored;
        budget -= *stored;
        kept.append(file);
        if (budget <= 0)
            break;
    }
    return kept;
}

} // namespace kestrune
