#include "history/historyrepository.h"

#include "history/historyrepositorystate_p.h"
#include "history/treepaths_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrune {

namespace {

QSet<QByteArray> readShallowCommits(git_repository *repository)
{
    QSet<QByteArray> commits;
    if (git_repository_is_shallow(repository) != 1)
        return commits;
    QFile file(QFile::decodeName(git_repository_commondir(repository)) + QStringLiteral("shallow"));
    if (!file.open(QIODevice::ReadOnly))
        return commits;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        git_oid oid;
        if (line.size() == GIT_OID_HEXSZ &&
            git_oid_fromstrn(&oid, line.constData(), size_t(line.size())) == 0)
            commits.insert(git::keyOf(oid));
    }
    return commits;
}

// A folder the library names (with a trailing slash), as a canonical path without one.
QString canonicalFolder(const char *path)
{
    return path ? QFileInfo(QFile::decodeName(path)).canonicalFilePath() : QString();
}

HistoryRepository::Opening unavailable(HistoryUnavailable reason, const QString &detail = QString())
{
    HistoryRepository::Opening opening;
    opening.reason = reason;
    opening.message = describe(reason);
    if (!detail.isEmpty())
        opening.message += QStringLiteral(": ") + detail;
    return opening;
}

} // namespace

HistoryRepository::HistoryRepository(std::unique_ptr<HistoryRepositoryState> state)
    : m_state(std::move(state))
{}

HistoryRepository::~HistoryRepository() = default;

HistoryRepository::Opening HistoryRepository::open(const QString &projectFolder)
{
    const QString project = QFileInfo(projectFolder).canonicalFilePath();
    if (project.isEmpty() || !QFileInfo(project).isDir())
        return unavailable(HistoryUnavailable::noRepository);

    auto state = std::make_unique<HistoryRepositoryState>();
    // The search goes up from the project folder, on its file system only, and takes no
    // direction from the environment (GIT_DIR and the like); whatever it finds is used only when
    // the project lies in that repository's work tree.
    git_repository *found = nullptr;
    const int error = git_repository_open_ext(&found, QFile::encodeName(project).constData(), 0, nullptr);
    state->repository.reset(found);
    if (error == GIT_ENOTFOUND)
        return unavailable(HistoryUnavailable::noRepository);
    if (error < 0)
        return unavailable(HistoryUnavailable::unreadable, git::lastError());
    if (git_repository_is_bare(found) == 1 || !git_repository_workdir(found))
        return unavailable(HistoryUnavailable::bareRepository);

    const QString workTree = QFileInfo(QFile::decodeName(git_repository_workdir(found))).canonicalFilePath();
    if (workTree.isEmpty())
        return unavailable(HistoryUnavailable::unreadable,
                           QStringLiteral("the work tree cannot be resolved"));
    QString relative;
    if (project != workTree) {
        if (!project.startsWith(workTree + u'/') && workTree != QLatin1String("/"))
            return unavailable(HistoryUnavailable::noRepository);
        relative = project.sliced(workTree == QLatin1String("/") ? 1 : workTree.size() + 1);
        // A folder inside the repository's own folder is no part of its work tree.
        if (relative == QLatin1String(".git") || relative.startsWith(QLatin1String(".git/")))
            return unavailable(HistoryUnavailable::noRepository);
        relative += u'/';
    }
    const QString gitFolder = canonicalFolder(git_repository_path(found));
    const QString commonGitFolder = canonicalFolder(git_repository_commondir(found));
    const int unborn = git_repository_head_unborn(found);
    if (unborn == 1) {
        Opening opening = unavailable(HistoryUnavailable::noCommits);
        opening.gitFolder = gitFolder;
        opening.commonGitFolder = commonGitFolder;
        return opening;
    }
    if (unborn < 0)
        return unavailable(HistoryUnavailable::unreadable, git::lastError());

    state->workTreeRoot = workTree;
    state->projectFolder = project;
    state->projectPrefix = QFile::encodeName(relative);
    state->shallowCommits = readShallowCommits(found);
    Opening opening;
    opening.repository.reset(new HistoryRepository(std::move(state)));
    opening.gitFolder = gitFolder;
    opening.commonGitFolder = commonGitFolder;
    return opening;
}

QString HistoryRepository::workTreeRoot() const
{
    return m_state->workTreeRoot;
}

QString HistoryRepository::projectFolder() const
{
    return m_state->projectFolder;
}

std::optional<CommitRecord> HistoryRepository::head() const
{
    return commit(QStringLiteral("HEAD"));
}

std::optional<CommitRecord> HistoryRepository::commit(const QString &sha) const
{
    const git::Commit found = m_state->lookupCommit(sha, nullptr);
    if (!found)
        return std::nullopt;
    return HistoryRepositoryState::recordOf(found.get());
}

std::optional<QByteArray> HistoryRepository::fileAt(const QString &sha, const QString &path,
                                                    QString *why) const
{
    const git::Commit found = m_state->lookupCommit(sha, why);
    if (!found)
        return std::nullopt;
    TreePaths paths(m_state->get());
    const git::Tree root = paths.treeOf(found.get());
    if (!root) {
        if (why)
            *why = paths.takeMessages().join(u'\n');
        return std::nullopt;
    }
    std::optional<QByteArray> content = paths.blobAt(root.get(), m_state->repositoryPathOf(path));
    if (!content && why)
        *why = paths.messages().isEmpty() ? QStringLiteral("%1 is not in commit %2").arg(path, sha)
                                          : paths.messages().join(u'\n');
    return content;
}

SpecificationSnapshot HistoryRepository::specificationsAt(const QString &sha) const
{
    SpecificationSnapshot snapshot;
    QString why;
    const git::Commit found = m_state->lookupCommit(sha, &why);
    if (!found) {
        snapshot.messages.append(why);
        return snapshot;
    }
    snapshot.commit = git::hexOf(*git_commit_id(found.get()));
    TreePaths paths(m_state->get());
    const git::Tree root = paths.treeOf(found.get());
    const QByteArray specs = m_state->projectPrefix + QByteArrayLiteral("kestrune/specs");
    if (root) {
        paths.forEachBlob(root.get(), specs, [&](const QByteArray &path, const QByteArray &content) {
            if (path.endsWith(".md"))
                snapshot.files.append({m_state->projectPathOf(path), content});
        });
    }
    snapshot.messages += paths.takeMessages();
    return snapshot;
}

QByteArray HistoryRepositoryState::repositoryPathOf(const QString &projectPath) const
{
    return projectPrefix + QFile::encodeName(QDir::cleanPath(projectPath));
}

QString HistoryRepositoryState::projectPathOf(const QByteArray &repositoryPath) const
{
    if (repositoryPath.startsWith(projectPrefix))
        return QFile::decodeName(repositoryPath.sliced(projectPrefix.size()));
    return u'/' + QFile::decodeName(repositoryPath);
}

git::Commit HistoryRepositoryState::lookupCommit(const QString &sha, QString *why) const
{
    git_object *object = nullptr;
    if (git_revparse_single(&object, repository.get(), sha.toUtf8().constData()) < 0) {
        if (why)
            *why = QStringLiteral("no commit %1: %2").arg(sha, git::lastError());
        return {};
    }
    git_object *peeled = nullptr;
    const int error = git_object_peel(&peeled, object, GIT_OBJECT_COMMIT);
    git_object_free(object);
    if (error < 0) {
        if (why)
            *why = QStringLiteral("%1 names no commit: %2").arg(sha, git::lastError());
        return {};
    }
    return git::Commit(reinterpret_cast<git_commit *>(peeled));
}

CommitRecord HistoryRepositoryState::recordOf(const git_commit *commit)
{
    CommitRecord record;
    record.sha = git::hexOf(*git_commit_id(commit));
    if (const git_signature *author = git_commit_author(commit)) {
        record.author = git::textOf(author->name);
        record.email = git::textOf(author->email);
        record.time = QDateTime::fromSecsSinceEpoch(qint64(author->when.time), Qt::OffsetFromUTC,
                                                    author->when.offset * 60);
    }
    // git_commit_summary caches its text in the commit object, which is why it takes no const.
    record.subject = git::textOf(git_commit_summary(const_cast<git_commit *>(commit)));
    return record;
}

} // namespace kestrune
