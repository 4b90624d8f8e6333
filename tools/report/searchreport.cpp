#include "searchreport.h"

#include "project/projectscanner.h"
#include "search/filesearchresult.h"
#include "search/projectsearch.h"
#include "search/searchablefile.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

namespace kestrune {

namespace {

// Characters, not UTF-16 code units: a script counts "ü" and "😀" as one each.
qsizetype characterCount(QStringView text)
{
    return text.toUcs4().size();
}

} // namespace

QString SearchReport::lineTextAround(QStringView line, qsizetype column)
{
    if (line.size() <= longestLineText)
        return line.toString();
    qsizetype start = std::clamp<qsizetype>(column - longestLineText / 4, 0, line.size() - longestLineText);
    if (start > 0 && line[start].isLowSurrogate())
        --start;
    return line.sliced(start, std::min(longestLineText, line.size() - start)).toString();
}

qsizetype SearchReport::search(const QString &projectFolder, const SearchPattern &pattern,
                               const std::function<void(const QByteArray &)> &write)
{
    const QUrl root = QUrl::fromLocalFile(projectFolder);
    const std::optional<TreeNode> tree = buildTree(root);
    if (!tree)
        return 0;
    QList<SearchableFilePointer> files;
    for (const SearchableFile &entry : SearchableFile::listOf(root, *tree))
        files.append(std::make_shared<const SearchableFile>(SearchableFile::read(entry)));
    const QDir folder(projectFolder);
    qsizetype count = 0;
    for (const SearchableFilePointer &file : ProjectSearch::ranked(files)) {
        const FileSearchResult result =
            FileSearchResult::search(file, pattern, 0, std::numeric_limits<qsizetype>::max());
        const QString path = folder.relativeFilePath(file->url.toLocalFile());
        for (const SearchHit &hit : result.hits) {
            const QStringView line = result.lineText(hit);
            const QJsonObject object{
                {QStringLiteral("path"), path},
                {QStringLiteral("line"), hit.line + 1},
                {QStringLiteral("column"), characterCount(line.first(hit.column)) + 1},
                {QStringLiteral("text"), lineTextAround(line, hit.column)},
            };
            write(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
            ++count;
        }
    }
    return count;
}

} // namespace kestrune
