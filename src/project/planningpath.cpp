#include "project/planningpath.h"

#include <QDir>
#include <QStringList>

namespace kestrune {

namespace {

const QString markdownSuffix = QStringLiteral(".md");
const QString planningFolderName = QStringLiteral("kestrune");

// The local path of a project folder, without a slash at its end.
QString folderPath(const QUrl &root)
{
    QString base = root.toLocalFile();
    while (base.endsWith(QLatin1Char('/')) && base.size() > 1)
        base.chop(1);
    return base;
}

// The planning folder's local path with a slash at its end.
QString planningFolderPrefix(const QUrl &root)
{
    const QString base = folderPath(root);
    return (base == u"/" ? QString() : base) + QLatin1Char('/') + planningFolderName + QLatin1Char('/');
}

// specs/<capability>/spec.md or specs/<capability>.md, `specsIndex` being the index of "specs".
bool isCapabilityFileOf(const QList<QStringView> &parts, qsizetype specsIndex)
{
    return parts.size() == specsIndex + 2 ||
           (parts.size() == specsIndex + 3 && parts.constLast() == u"spec.md");
}

QString capabilityOf(const QList<QStringView> &parts, qsizetype specsIndex)
{
    if (parts.size() == specsIndex + 2) {
        QStringView name = parts.constLast();
        if (name.endsWith(markdownSuffix, Qt::CaseInsensitive))
            name.chop(markdownSuffix.size());
        return name.toString();
    }
    QStringList folders;
    for (qsizetype index = specsIndex + 1; index < parts.size() - 1; ++index)
        folders.append(parts.at(index).toString());
    return folders.join(QLatin1Char('/'));
}

} // namespace

bool PlanningPath::isArchiveFolderName(QStringView name)
{
    return name.compare(u"archive", Qt::CaseInsensitive) == 0 ||
           name.compare(u"archived", Qt::CaseInsensitive) == 0;
}

QString PlanningPath::relativeTo(const QUrl &root, const QUrl &url)
{
    const QString base = folderPath(root);
    const QString path = url.toLocalFile();
    const QString planning = base + QLatin1Char('/') + planningFolderName + QLatin1Char('/');
    if (path.startsWith(planning))
        return path.mid(planning.size());
    if (path.startsWith(base + QLatin1Char('/')))
        return path.mid(base.size() + 1);
    return {};
}

PlanningPath PlanningPath::of(QStringView relativePath, bool isFolder)
{
    PlanningPath result;
    result.relativePath = relativePath.toString();
    const QList<QStringView> parts = relativePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return result;
    const bool isMarkdown = !isFolder && parts.constLast().endsWith(markdownSuffix, Qt::CaseInsensitive);
    if (parts.constFirst() == u"specs") {
        if (!isMarkdown || parts.size() < 2)
            return result;
        result.capability = capabilityOf(parts, 0);
        result.isCapabilityFile = isCapabilityFileOf(parts, 0);
        result.kind = result.isCapabilityFile ? Kind::specification : Kind::specificationText;
        return result;
    }
    if (parts.constFirst() != u"changes" || parts.size() < 2)
        return result;
    qsizetype changeIndex = 1;
    if (isArchiveFolderName(parts.at(1))) {
        result.isArchived = true;
        changeIndex = 2;
        if (parts.size() < 3)
            return result;
    }
    result.change = parts.at(changeIndex).toString();
    QStringList changeFolder;
    for (qsizetype index = 0; index <= changeIndex; ++index)
        changeFolder.append(parts.at(index).toString());
    result.changeFolderPath = changeFolder.join(QLatin1Char('/'));
    if (isFolder && parts.size() == changeIndex + 1) {
        result.kind = Kind::changeFolder;
        return result;
    }
    const qsizetype specsIndex = changeIndex + 1;
    if (isMarkdown && parts.size() > specsIndex + 1 && parts.at(specsIndex) == u"specs") {
        result.kind = Kind::deltaSpecification;
        result.capability = capabilityOf(parts, specsIndex);
        result.isCapabilityFile = isCapabilityFileOf(parts, specsIndex);
    }
    return result;
}

std::optional<PlanningPath> PlanningPath::inPlanningFolder(const QUrl &root, const QUrl &url, bool isFolder)
{
    const QString path = QDir::cleanPath(url.toLocalFile());
    const QString planning = planningFolderPrefix(root);
    if (!url.isLocalFile() || !root.isLocalFile() || !path.startsWith(planning))
        return std::nullopt;
    return of(QStringView(path).sliced(planning.size()), isFolder);
}

QUrl PlanningPath::urlInPlanningFolder(const QUrl &root, QStringView relativePath)
{
    return QUrl::fromLocalFile(planningFolderPrefix(root) + relativePath.toString());
}

std::optional<QUrl> PlanningPath::projectRootAbove(const QUrl &url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    const QString path = QDir::cleanPath(url.toLocalFile());
    // An absolute path's first part is the empty one before its first slash.
    const QList<QStringView> parts = QStringView(path).split(QLatin1Char('/'));
    for (qsizetype index = parts.size() - 2; index > 0; --index) {
        if (parts.at(index) != planningFolderName)
            continue;
        QString root;
        for (qsizetype part = 1; part < index; ++part)
            root += QLatin1Char('/') + parts.at(part).toString();
        return QUrl::fromLocalFile(root.isEmpty() ? QStringLiteral("/") : root);
    }
    return std::nullopt;
}

} // namespace kestrune
