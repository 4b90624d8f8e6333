#include "history/historypaths_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrune::HistoryPaths {

namespace {

const QByteArray planningFolder = QByteArrayLiteral("kestrune/");

} // namespace

std::optional<QByteArray> repositoryPathOfFile(const HistoryRepositoryState &state,
                                               const QString &absolutePath)
{
    // A path that exists is compared in its canonical form, as the project folder was.
    const QString canonical = QFileInfo(absolutePath).canonicalFilePath();
    const QString path = canonical.isEmpty() ? QDir::cleanPath(absolutePath) : canonical;
    if (path == state.projectFolder)
        return state.projectPrefix.chopped(state.projectPrefix.isEmpty() ? 0 : 1);
    if (!path.startsWith(state.projectFolder + u'/'))
        return std::nullopt;
    return state.repositoryPathOf(path.sliced(state.projectFolder.size() + 1));
}

std::optional<PlanningPath> planningPathOf(const HistoryRepositoryState &state,
                                           const QByteArray &repositoryPath, bool isFolder)
{
    const QByteArray prefix = state.projectPrefix + planningFolder;
    if (!repositoryPath.startsWith(prefix))
        return std::nullopt;
    return PlanningPath::of(QFile::decodeName(repositoryPath.sliced(prefix.size())), isFolder);
}

QByteArray repositoryPathOfPlanning(const HistoryRepositoryState &state, const QString &planningPath)
{
    return state.projectPrefix + planningFolder + QFile::encodeName(planningPath);
}

} // namespace kestrune::HistoryPaths
