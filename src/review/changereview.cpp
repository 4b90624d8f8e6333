#include "review/changereview.h"

#include "project/planningpath.h"
#include "project/summarycomputation.h"
#include "text/nativepath.h"
#include "text/plainstringorder.h"
#include "text/textlines.h"

#include <algorithm>

namespace kestrune {

namespace {

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

// Whether the change folder lies in an archive folder of the project's changes.
bool isArchivedChange(const QString &projectFolder, const QString &changeFolder)
{
    const QString changes = projectFolder + QLatin1String("/kestrune/changes/");
    if (!changeFolder.startsWith(changes))
        return false;
    const QStringList components = changeFolder.sliced(changes.size()).split(u'/', Qt::SkipEmptyParts);
    return std::any_of(components.begin(), components.end() - std::min<qsizetype>(1, components.size()),
                       [](const QString &component) { return PlanningPath::isArchiveFolderName(component); });
}

struct DeltaFile
{
    QString name; // the capability as the system spells it
    QString path;
};

// specs/<capability>/spec.md, and specs/<capability>.md unless a folder of the name has one.
std::vector<DeltaFile> deltaFilesOf(const FileSystem &fileSystem, const QString &changeFolder)
{
    std::vector<DeltaFile> files;
    const std::optional<std::vector<DirectoryEntry>> entries =
        fileSystem.listDirectory(changeFolder + QLatin1String("/specs"));
    if (!entries)
        return files;
    for (const DirectoryEntry &entry : *entries) {
        if (entry.isDirectory.value_or(false)) {
            const QString spec = entry.path + QLatin1String("/spec.md");
            if (fileSystem.exists(spec))
                files.push_back({entry.name, spec});
        }
    }
    for (const DirectoryEntry &entry : *entries) {
        if (!entry.isDirectory.value_or(true) && entry.name.endsWith(QLatin1String(".md"))) {
            const QString name = entry.name.chopped(3);
            if (std::none_of(files.begin(), files.end(),
                             [&](const DeltaFile &file) { return file.name == name; }))
                files.push_back({name, entry.path});
        }
    }
    std::sort(files.begin(), files.end(),
              [](const DeltaFile &a, const DeltaFile &b) { return plainStringLess(a.name, b.name); });
    return files;
}

// A file of the project, read whole; nothing when it cannot be read, is not UTF-8 or leads out
// of the project (which is never read, as in the outline).
std::optional<SpecificationDocument> readDocument(const FileSystem &fileSystem, const QString &path,
                                                  const QString &projectFolder, bool &outside)
{
    const std::optional<QString> target = fileSystem.canonicalPath(path);
    outside = !target || !target->startsWith(projectFolder + u'/');
    if (outside)
        return std::nullopt;
    const std::optional<QByteArray> bytes = fileSystem.readFile(path);
    if (!bytes)
        return std::nullopt;
    const std::optional<QString> text = TextLines::decodeUtf8(*bytes);
    if (!text)
        return std::nullopt;
    return SpecificationDocument::parse(*text);
}

CapabilityReview reviewCapability(const FileSystem &fileSystem, const QUrl &projectRoot,
                                  const QString &projectFolder, const DeltaFile &file, bool archived)
{
    const std::optional<QUrl> specificationFile = specFileURL(projectRoot, file.name, fileSystem);
    bool deltaOutside = false;
    bool specificationOutside = false;
    const std::optional<SpecificationDocument> delta =
        readDocument(fileSystem, file.path, projectFolder, deltaOutside);
    std::optional<SpecificationDocument> specification;
    if (specificationFile)
        specification =
            readDocument(fileSystem, specificationFile->toLocalFile(), projectFolder, specificationOutside);

    CapabilityReview review;
    if (deltaOutside || specificationOutside)
        review.error = CapabilityError::linksOutsideProject;
    else if (!delta)
        review.error = CapabilityError::deltaUnreadable;
    else if (specificationFile && !specification)
        review.error = CapabilityError::specificationUnreadable;
    else
        review =
            CapabilityReview::compare(NativePath::displayName(file.name), specification, *delta, archived);
    review.capability = NativePath::displayName(file.name);
    review.deltaFile = QUrl::fromLocalFile(file.path);
    review.specificationFile = specificationFile;
    return review;
}

} // namespace

bool ChangeReview::hasFindings() const
{
    return std::any_of(capabilities.begin(), capabilities.end(),
                       [](const CapabilityReview &capability) { return capability.hasFindings(); });
}

ChangeReview reviewChange(const FileSystem &fileSystem, const QUrl &projectRoot, const QUrl &changeFolder)
{
    const QString rootPath = withoutTrailingSlash(projectRoot.toLocalFile());
    const QString changePath = withoutTrailingSlash(changeFolder.toLocalFile());
    // Files may link anywhere inside the project folder, wherever that folder itself lives.
    const QString projectFolder = fileSystem.canonicalPath(rootPath).value_or(rootPath);

    ChangeReview review;
    review.changeName = NativePath::displayName(QUrl::fromLocalFile(changePath).fileName());
    review.changeFolder = QUrl::fromLocalFile(changePath);
    review.archived = isArchivedChange(rootPath, changePath);
    for (const DeltaFile &file : deltaFilesOf(fileSystem, changePath)) {
        review.capabilities.append(
            reviewCapability(fileSystem, projectRoot, projectFolder, file, review.archived));
        review.counts += review.capabilities.last().counts;
    }
    return review;
}

} // namespace kestrune
