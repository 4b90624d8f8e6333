// Scan plus summary of a large generated project against its physical limit, a bare walk that
// lists the same folders and reads every Markdown file (no parsing, no tree, no sorting), measured
// in the same run; beside walks that read only the files the scan reads.
#include "benchtiming.h"
#include "largeprojectgenerator.h"

#include "project/projectscanner.h"
#include "project/summarycomputation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace kestrune;

namespace {

size_t readWhole(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buffer[65536];
    size_t total = 0;
    ssize_t count;
    while ((count = ::read(fd, buffer, sizeof buffer)) > 0)
        total += size_t(count);
    ::close(fd);
    return total;
}

bool endsWith(const std::string &text, const char *suffix)
{
    const size_t length = std::strlen(suffix);
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

// Lists every folder with the attributes of every entry, stats every Markdown file once more
// (unless `lean`), and reads what the scan reads: delta specifications, every change's task list
// and the current specifications. The second stat is what the scan made before it took each
// file's date from its listing; the lean walk leaves it out as the scan now does.
size_t plainWalk(const std::string &folder, bool inChange, bool inChangeSpecs, bool lean = false)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    size_t bytes = 0;
    std::vector<std::pair<std::string, bool>> entries;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        struct stat status;
        if (::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        entries.emplace_back(folder + "/" + entry->d_name, S_ISDIR(status.st_mode));
    }
    ::closedir(dir);
    const bool changeFolder = inChange && !inChangeSpecs;
    if (changeFolder)
        bytes += readWhole(folder + "/tasks.md");
    for (const auto &[path, isDirectory] : entries) {
        const std::string name = path.substr(path.rfind('/') + 1);
        if (isDirectory) {
            const bool specs = inChangeSpecs || (inChange && name == "specs");
            bytes += plainWalk(path, inChange || name == "changes", specs, lean);
        } else if (endsWith(name, ".md")) {
            struct stat status;
            if (!lean)
                ::stat(path.c_str(), &status);
            if (inChangeSpecs || endsWith(path, "/spec.md"))
                bytes += readWhole(path);
        }
    }
    return bytes;
}

// The physical limit of a scan: lists every folder with the attributes of every entry (the scan
// needs each file's date) and read()s every Markdown file whole, parsing nothing.
size_t bareWalk(const std::string &folder)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    size_t bytes = 0;
    std::vector<std::string> folders;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        struct stat status;
        if (::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const std::string path = folder + "/" + entry->d_name;
        if (S_ISDIR(status.st_mode))
            folders.push_back(path);
        else if (endsWith(path, ".md"))
            bytes += readWhole(path);
    }
    ::closedir(dir);
    for (const std::string &path : folders)
        bytes += bareWalk(path);
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString project = temporary.path() + QStringLiteral("/big-project");
    LargeProjectShape shape;
    const int files = generateLargeProject(project, shape);
    const QUrl url = QUrl::fromLocalFile(project);
    const std::string kestrune = QFile::encodeName(project + QStringLiteral("/kestrune")).toStdString();

    qint64 changes = 0;
    const auto scan = [&] {
        const std::optional<TreeNode> tree = buildTree(url);
        changes = computeSummary(*tree).totalChanges;
    };
    const auto baseline = [&] { plainWalk(kestrune, false, false); };
    scan(); // warm the cache
    baseline();
    bareWalk(kestrune);
    // "--only scan", "--only bare" or "--only walk" runs one side once more (or that many times more: "--only
    // scan 50"), for tracing tools.
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--only") == 0) {
        const int repeats = argc == 4 ? std::max(1, std::atoi(argv[3])) : 1;
        for (int run = 0; run < repeats; ++run)
            std::strcmp(argv[2], "scan") == 0   ? scan()
            : std::strcmp(argv[2], "bare") == 0 ? void(bareWalk(kestrune))
                                                : baseline();
        return 0;
    }

    const int runs = 7;
    const double bareMs = medianMs(runs, [&] { bareWalk(kestrune); });
    const double baselineMs = medianMs(runs, baseline);
    const double leanMs = medianMs(runs, [&] { plainWalk(kestrune, false, false, true); });
    const double scanMs = medianMs(runs, scan);
    std::printf("project: %d Markdown files, %lld changes\n", files, static_cast<long long>(changes));
    std::printf("scan + summary: %.1f ms, bare walk (list + read every Markdown file): %.1f ms "
                "(medians of %d)\n",
                scanMs, bareMs, runs);
    std::printf("ratio to the bare walk: %.2f (target <= 1.3), total under 1 s: %s\n", scanMs / bareMs,
                scanMs < 1000.0 ? "yes" : "no");
    std::printf("walks reading only what the scan reads: %.1f ms (ratio %.2f), without the second stat "
                "%.1f ms (ratio %.2f)\n",
                baselineMs, scanMs / baselineMs, leanMs, scanMs / leanMs);
    return 0;
}
