#include "app/projectlocation.h"

#include "ui/localization.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace kestrune {

namespace {

const QString kestruneFolderName = QStringLiteral("kestrune");

// The same test as the outline's: an extension "md" in any letter case, after a name.
bool isMarkdownName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 &&
           QStringView(name).sliced(dot + 1).compare(QLatin1String("md"), Qt::CaseInsensitive) == 0;
}

// The nearest of the folder and the folders above it that holds a "kestrune" folder.
std::optional<QString> enclosingProject(const QString &folder)
{
    QDir directory(folder);
    while (true) {
        if (QFileInfo(directory.filePath(kestruneFolderName)).isDir())
            return directory.path();
        if (directory.isRoot() || !directory.cdUp())
            return std::nullopt;
    }
}

} // namespace

bool ProjectLocation::isRemoteAddress(const QString &text)
{
    // A scheme of two letters at least (one could be a drive), then "://".
    static const QRegularExpression address(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+)://"));
    const QRegularExpressionMatch match = address.match(text);
    return match.hasMatch() && match.captured(1).compare(QLatin1String("file"), Qt::CaseInsensitive) != 0;
}

ProjectLocation ProjectLocation::resolve(const QString &path)
{
    ProjectLocation location;
    if (isRemoteAddress(path)) {
        location.path = path;
        location.error = ProjectLocationError::notLocal;
        return location;
    }
    location.path = path.isEmpty() ? path : QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const QFileInfo info(location.path);
    if (location.path.isEmpty() || !info.exists()) {
        location.error = ProjectLocationError::doesNotExist;
        return location;
    }
    const bool folder = info.isDir();
    if (!folder && !isMarkdownName(info.fileName())) {
        location.error = ProjectLocationError::notAFolder;
        return location;
    }
    const std::optional<QString> root = enclosingProject(folder ? location.path : info.path());
    if (!root) {
        location.error = folder ? ProjectLocationError::noKestruneFolder : ProjectLocationError::notAFolder;
        return location;
    }
    location.projectRoot = *root;
    if (location.path != *root)
        location.target = location.path;
    return location;
}

QString ProjectLocation::errorText() const
{
    if (!error)
        return {};
    const char *reason = nullptr;
    switch (*error) {
    case ProjectLocationError::doesNotExist:
        reason = "import.failed.does_not_exist";
        break;
    case ProjectLocationError::notAFolder:
        reason = "import.failed.not_a_folder";
        break;
    case ProjectLocationError::noKestruneFolder:
        reason = "import.failed.no_kestrune_folder";
        break;
    case ProjectLocationError::notLocal:
        reason = "import.failed.not_local";
        break;
    }
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), Localization::text(reason));
}

} // namespace kestrune
