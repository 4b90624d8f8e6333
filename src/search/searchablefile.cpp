#include "search/searchablefile.h"

#include "project/planningpath.h"
#include "project/regularfilereader.h"
#include "text/textlines.h"

#include <QStringList>

namespace kestrune {

namespace {

// Kind and owner from the folders below the "kestrune" folder.
void classify(SearchableFile &file, const QStringList &folders)
{
    if (folders.size() >= 2 && folders[0] == QLatin1String("specs")) {
        file.kind = SearchableFileKind::specification;
        file.ownerName = folders[1];
    } else if (folders.size() >= 2 && folders[0] == QLatin1String("changes") &&
               PlanningPath::isArchiveFolderName(folders[1])) {
        file.kind = SearchableFileKind::archivedChange;
        file.ownerName = folders.value(2);
    } else if (folders.size() >= 2 && folders[0] == QLatin1String("changes")) {
        file.kind = SearchableFileKind::change;
        file.ownerName = folders[1];
    }
}

void collect(const QUrl &projectRoot, const QString &kestrunePrefix, const QString &rootPrefix,
             const TreeNode &node, QList<SearchableFile> &files)
{
    if (!node.children)
        return;
    for (const TreeNode &child : *node.children) {
        if (child.isFolder()) {
            collect(projectRoot, kestrunePrefix, rootPrefix, child, files);
            continue;
        }
        if (child.kind != TreeNodeKind::markdownFile || child.linksOutsideProject)
            continue;
        SearchableFile file;
        file.projectRoot = projectRoot;
        file.url = child.url;
        file.deltaType = child.deltaType;
        file.modificationDate = child.modificationDate;
        // The outline lifts archive folders to its top, so the path comes from the file's place
        // on disk, not from the outline's folders.
        const QString path = child.url.toLocalFile();
        if (path.startsWith(kestrunePrefix)) {
            file.relativePath = path.mid(kestrunePrefix.size());
            QStringList folders = file.relativePath.split(u'/');
            folders.removeLast();
            classify(file, folders);
        } else {
            file.relativePath = path.startsWith(rootPrefix) ? path.mid(rootPrefix.size()) : child.name;
        }
        files.append(std::move(file));
    }
}

} // namespace

QList<SearchableFile> SearchableFile::listOf(const QUrl &projectRoot, const TreeNode &tree)
{
    QString rootPrefix = projectRoot.toLocalFile();
    if (!rootPrefix.endsWith(u'/'))
        rootPrefix += u'/';
    QList<SearchableFile> files;
    collect(projectRoot, rootPrefix + QLatin1String("kestrune/"), rootPrefix, tree, files);
    return files;
}

SearchableFile SearchableFile::read(SearchableFile entry)
{
    RegularFileReader::Content content = RegularFileReader::read(entry.url.toLocalFile(), largestFile);
    entry.error = content.error;
    if (content.error != FileReadError::none)
        return entry;
    if (std::optional<QString> text = TextLines::decodeUtf8(content.bytes)) {
        entry.text = std::move(*text);
    } else {
        entry.text = QString::fromUtf8(content.bytes);
        entry.error = FileReadError::notUtf8;
    }
    return entry;
}

} // namespace kestrune
