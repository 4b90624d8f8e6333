#include "reading/readingbaseline.h"

#include "project/regularfilereader.h"
#include "project/treenode.h"
#include "reading/readingpaths.h"
#include "reading/readingstorefiles.h"
#include "text/textlines.h"

namespace kestrune {

namespace {

// The preview reads no larger file, so none larger has facts worth keeping.
constexpr qint64 largestFactFile = qint64(64) << 20;

void collect(const TreeNode &node, const QString &projectPath, const QDateTime &now,
             QHash<QString, SeenFile> &into)
{
    if (node.children) {
        for (const TreeNode &child : *node.children)
            collect(child, projectPath, now, into);
        return;
    }
    if (node.kind != TreeNodeKind::markdownFile || node.linksOutsideProject)
        return;
    const QString relativePath = ReadingPaths::relativeTo(projectPath, node.url);
    if (relativePath.isEmpty())
        return;
    const QDateTime modified = node.modificationDate.value_or(QDateTime());
    SeenFile file;
    if (SeenFacts::applyTo(relativePath)) {
        const RegularFileReader::Content content =
            RegularFileReader::read(node.url.toLocalFile(), largestFactFile);
        if (content.error == FileReadError::none)
            file = ReadingBaseline::seenNow(relativePath, content.bytes, modified, now);
    }
    file.relativePath = relativePath;
    file.seenAt = now;
    file.modificationDate = modified;
    into.insert(relativePath, file);
}

} // namespace

QHash<QString, SeenFile> ReadingBaseline::of(const TreeNode &tree, const QDateTime &now)
{
    QHash<QString, SeenFile> files;
    collect(tree, ReadingPaths::rootPathOf(tree), now, files);
    return files;
}

SeenFile ReadingBaseline::seenNow(const QString &relativePath, const QByteArray &bytes,
                                  const QDateTime &modificationDate, const QDateTime &now)
{
    SeenFile file;
    file.relativePath = relativePath;
    file.seenAt = now;
    file.modificationDate = modificationDate;
    file.size = bytes.size();
    file.contentHash = ReadingStoreFiles::hashOf(bytes);
    if (SeenFacts::applyTo(relativePath))
        if (const std::optional<QString> text = TextLines::decodeUtf8(bytes))
            file.facts = SeenFacts::of(relativePath, *text);
    return file;
}

} // namespace kestrune
