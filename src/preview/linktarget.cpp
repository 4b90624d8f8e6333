#include "preview/linktarget.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace kestrune {

namespace {

// Enough for any planning folder; a link to a huge tree without Markdown gives up instead of
// walking all of it.
constexpr int largestFolderWalk = 5000;

bool isMarkdownName(const QString &name)
{
    return name.endsWith(QLatin1String(".md"), Qt::CaseInsensitive) && name.size() > 3;
}

bool isInside(const QString &canonicalPath, const QString &canonicalFolder)
{
    if (canonicalPath.isEmpty() || canonicalFolder.isEmpty())
        return false;
    if (canonicalPath == canonicalFolder)
        return true;
    const QString prefix = canonicalFolder.endsWith(u'/') ? canonicalFolder : canonicalFolder + u'/';
    return canonicalPath.startsWith(prefix);
}

} // namespace

LinkTarget LinkTarget::locate(const QUrl &link, const QUrl &documentUrl)
{
    LinkTarget target;
    if (link.isRelative() && link.path().isEmpty()) {
        target.kind = Kind::pageHeading;
        target.url = documentUrl.adjusted(QUrl::RemoveFragment);
        target.fragment = link.fragment(QUrl::FullyDecoded);
        return target;
    }
    // Handed to the desktop as written, a relative link would resolve against the program's
    // working directory and could open an unrelated file.
    const QUrl absolute = link.isRelative() ? documentUrl.resolved(link) : link;
    const QString scheme = absolute.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto")) {
        target.kind = Kind::web;
        target.url = absolute;
    } else if (absolute.isLocalFile()) {
        target.url = QUrl::fromLocalFile(QDir::cleanPath(absolute.toLocalFile()));
        target.fragment = absolute.fragment(QUrl::FullyDecoded);
    } else {
        target.url = absolute;
    }
    return target;
}

LinkTarget LinkTarget::resolve(const QUrl &link, const QUrl &documentUrl, const QString &projectFolder)
{
    LinkTarget target = locate(link, documentUrl);
    if (target.kind != Kind::desktop || !target.url.isLocalFile() || projectFolder.isEmpty())
        return target;
    const QFileInfo info(target.url.toLocalFile());
    if (!isInside(info.canonicalFilePath(), QFileInfo(projectFolder).canonicalFilePath()))
        return target;
    if (info.isFile() && isMarkdownName(QFileInfo(info.canonicalFilePath()).fileName()))
        target.kind = Kind::projectFile;
    else if (info.isDir() && holdsMarkdown(info.filePath()))
        target.kind = Kind::projectFolder;
    return target;
}

bool LinkTarget::holdsMarkdown(const QString &folder)
{
    QDirIterator entries(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    for (int count = 0; entries.hasNext() && count < largestFolderWalk; ++count) {
        entries.next();
        if (isMarkdownName(entries.fileName()) && entries.fileInfo().isFile())
            return true;
    }
    return false;
}

QString LinkTarget::displayText() const
{
    if (!url.isLocalFile())
        return url.toDisplayString();
    QString text = QDir::toNativeSeparators(url.toLocalFile());
    if (!fragment.isEmpty())
        text += u'#' + fragment;
    return text;
}

} // namespace kestrune
