#include "history/treediff_p.h"

#include <algorithm>

namespace kestrune::TreeDiff {

namespace {

QString treeName(const git_tree *tree)
{
    return tree ? git::hexOf(*git_tree_id(tree)) : QStringLiteral("(none)");
}

} // namespace

QList<QByteArray> changedPaths(git_repository *repository, const git_tree *before, const git_tree *after,
                               TreePaths &notes, QList<QByteArray> *added)
{
    QList<QByteArray> paths;
    git_diff_options options = GIT_DIFF_OPTIONS_INIT;
    git_diff *diff = nullptr;
    if (git_diff_tree_to_tree(&diff, repository, const_cast<git_tree *>(before),
                              const_cast<git_tree *>(after), &options) < 0) {
        notes.note(QStringLiteral("trees %1 and %2 could not be compared: %3")
                       .arg(treeName(before), treeName(after), git::lastError()));
        return paths;
    }
    const git::Diff owned(diff);
    const size_t count = git_diff_num_deltas(diff);
    paths.reserve(qsizetype(count));
    for (size_t index = 0; index < count; ++index) {
        const git_diff_delta *delta = git_diff_get_delta(diff, index);
        paths.append(
            QByteArray(delta->status == GIT_DELTA_DELETED ? delta->old_file.path : delta->new_file.path));
        if (added && delta->status == GIT_DELTA_ADDED)
            added->append(QByteArray(delta->new_file.path));
    }
    std::sort(paths.begin(), paths.end());
    if (added)
        std::sort(added->begin(), added->end());
    return paths;
}

std::vector<Rename> renames(git_repository *repository, const git_tree *before, const git_tree *after,
                            const QByteArray &folder, TreePaths &notes)
{
    std::vector<Rename> found;
    git_diff_options options = GIT_DIFF_OPTIONS_INIT;
    // The folder is a path, not a pattern: a name with "*" or "[" in it means itself.
    options.flags |= GIT_DIFF_DISABLE_PATHSPEC_MATCH;
    char *pathspec = const_cast<char *>(folder.constData());
    if (!folder.isEmpty()) {
        options.pathspec.strings = &pathspec;
        options.pathspec.count = 1;
    }
    git_diff *diff = nullptr;
    if (git_diff_tree_to_tree(&diff, repository, const_cast<git_tree *>(before),
                              const_cast<git_tree *>(after), &options) < 0) {
        notes.note(QStringLiteral("trees %1 and %2 could not be compared: %3")
                       .arg(treeName(before), treeName(after), git::lastError()));
        return found;
    }
    const git::Diff owned(diff);
    git_diff_find_options find = GIT_DIFF_FIND_OPTIONS_INIT;
    find.flags = GIT_DIFF_FIND_RENAMES;
    if (git_diff_find_similar(diff, &find) < 0) {
        notes.note(QStringLiteral("renames between trees %1 and %2 could not be found: %3")
                       .arg(treeName(before), treeName(after), git::lastError()));
        return found;
    }
    const size_t count = git_diff_num_deltas(diff);
    for (size_t index = 0; index < count; ++index) {
        const git_diff_delta *delta = git_diff_get_delta(diff, index);
        if (delta->status == GIT_DELTA_RENAMED)
            found.push_back({QByteArray(delta->old_file.path), QByteArray(delta->new_file.path)});
    }
    return found;
}

} // namespace kestrune::TreeDiff
