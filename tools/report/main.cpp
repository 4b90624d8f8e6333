#include "historyreport.h"
#include "projectreport.h"
#include "reviewreport.h"
#include "searchreport.h"
#include "sincereport.h"

#include "project/changelookup.h"
#include "project/localfilesystem.h"
#include "project/projectscanner.h"
#include "project/summarycomputation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

using namespace kestrune;

namespace {

// Status 0 once the JSON is written, 1 when standard output could not take it. Either form ends
// with a line feed, as a line of text does.
int printJson(const QJsonObject &object, bool compact)
{
    QByteArray json =
        QJsonDocument(object).toJson(compact ? QJsonDocument::Compact : QJsonDocument::Indented);
    if (!json.endsWith('\n'))
        json += '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// The comparison of a change with the current specifications; status 1 when anything in it is
// flagged.
int printReview(const QString &folder, const QString &change, bool compact, QTextStream &errors)
{
    const LocalFileSystem &fileSystem = *LocalFileSystem::shared();
    const QUrl root = QUrl::fromLocalFile(folder);
    const ChangeLookup lookup = ChangeLookup::find(fileSystem, root, change);
    if (!lookup.folder) {
        errors << "kestrune-report: " << folder << " has no change named \"" << change << "\"";
        if (!lookup.candidates.isEmpty())
            errors << "; it may mean " << lookup.candidates.join(QLatin1String(", "));
        errors << "\n";
        return 1;
    }
    const ChangeReview review = reviewChange(fileSystem, root, *lookup.folder);
    const int status = printJson(ReviewReport::reviewToJson(review), compact);
    return status != 0 ? status : review.hasFindings() ? 1 : 0;
}

// The matches of a search as JSON lines; status 1 when there are none, 2 for an invalid expression.
int printSearch(const QString &folder, const SearchPattern &pattern, QTextStream &errors)
{
    if (!pattern.isValid()) {
        errors << "kestrune-report: invalid regular expression \"" << pattern.text()
               << "\": " << pattern.errorString() << "\n";
        return 2;
    }
    bool written = true;
    const qsizetype count = SearchReport::search(folder, pattern, [&written](const QByteArray &line) {
        written =
            written && std::fwrite(line.constData(), 1, size_t(line.size()), stdout) == size_t(line.size());
    });
    if (std::fflush(stdout) != 0 || !written)
        return 2;
    return count > 0 ? 0 : 1;
}

// The timeline of a change in the project's git repository, oldest first; status 1 for an unknown
// change, a folder not in git or a timeline that could not be read in full.
int printHistory(const QString &folder, const QString &change, bool compact, QTextStream &errors)
{
    const HistoryReport::Result result = HistoryReport::timeline(folder, change);
    for (const QString &error : result.errors)
        errors << "kestrune-report: " << error << "\n";
    if (result.json.isEmpty())
        return result.exitStatus;
    const int status = printJson(result.json, compact);
    return status != 0 ? status : result.exitStatus;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrune-report"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUNE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Scans a project folder that holds a \"kestrune\" planning folder and prints its outline tree "
        "and summary as one JSON object: {\"tree\": ..., \"summary\": ...}. With --review, prints instead "
        "how one change's delta specifications compare with the current specifications; with --search, "
        "every match of a text in the project's Markdown files, one JSON object a line: "
        "{\"path\", \"line\", \"column\", \"text\"}. With --since, the planning folder's files "
        "modified after a date: {\"since\": ..., \"files\": [...]}."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The project folder."));
    QCommandLineOption compactOption(QStringLiteral("compact"),
                                     QStringLiteral("Print the JSON on one line."));
    parser.addOption(compactOption);
    QCommandLineOption reviewOption(
        QStringLiteral("review"),
        QStringLiteral("Compare the requirements of CHANGE (an active change, an archived one by its "
                       "folder name, or by its name without the date when only one has it) with the current "
                       "specifications, word by word; exit with status 1 when any is flagged."),
        QStringLiteral("CHANGE"));
    parser.addOption(reviewOption);
    QCommandLineOption searchOption(
        QStringLiteral("search"),
        QStringLiteral("Print every match of QUERY in the project's Markdown files as JSON lines (line and "
                       "column counted from 1, column in characters); any letter case unless "
                       "--case-sensitive. Exit with status 1 when nothing matches."),
        QStringLiteral("QUERY"));
    parser.addOption(searchOption);
    QCommandLineOption historyOption(
        QStringLiteral("history"),
        QStringLiteral(
            "Print the timeline of CHANGE (named as for --review) from the project's git repository as one "
            "JSON object, {\"change\", \"events\": [{\"commit\", \"time\", \"author\", \"subject\", "
            "\"kind\", \"tasksDone\", \"tasksTotal\", \"files\"}]}, oldest first. Exit with status 1 "
            "when the folder is not in a git work tree."),
        QStringLiteral("CHANGE"));
    parser.addOption(historyOption);
    QCommandLineOption caseOption(QStringLiteral("case-sensitive"),
                                  QStringLiteral("Search: match letter case."));
    parser.addOption(caseOption);
    QCommandLineOption wordOption(QStringLiteral("word"), QStringLiteral("Search: match whole words only."));
    parser.addOption(wordOption);
    QCommandLineOption regexOption(
        QStringLiteral("regex"),
        QStringLiteral("Search: read QUERY as a regular expression, run line by line."));
    parser.addOption(regexOption);

    QCommandLineOption sinceOption(
        QStringLiteral("since"),
        QStringLiteral("List the files of the planning folder modified after DATE (ISO 8601: 2025-03-03, "
                       "2025-03-03T10:00 or with an offset, 2025-03-03T10:00:00+02:00; local time "
                       "without one), newest first, each with its kind and change."),
        QStringLiteral("DATE"));
    parser.addOption(sinceOption);

    QTextStream errors(stderr);
    if (!parser.parse(QCoreApplication::arguments())) {
        errors << "kestrune-report: " << parser.errorText() << "\n" << parser.helpText();
        return 2;
    }
    // Answers --help, --help-all and --version; the arguments are known to parse.
    parser.process(app);
    const QStringList folders = parser.positionalArguments();
    if (folders.size() != 1) {
        errors << "kestrune-report: expected exactly one project folder\n" << parser.helpText();
        return 2;
    }
    const bool compact = parser.isSet(compactOption);

    const QString folder = QDir::cleanPath(QFileInfo(folders.first()).absoluteFilePath());
    const auto noProject = [&] {
        errors << "kestrune-report: " << folder << " holds no \"kestrune\" folder\n";
        return 1;
    };
    if (parser.isSet(historyOption) && (parser.isSet(reviewOption) || parser.isSet(searchOption))) {
        errors << "kestrune-report: --history takes neither --review nor --search\n" << parser.helpText();
        return 2;
    }
    if (parser.isSet(reviewOption)) {
        if (!LocalFileSystem::shared()->isDirectory(QDir(folder).filePath(QStringLiteral("kestrune"))))
            return noProject();
        return printReview(folder, parser.value(reviewOption), compact, errors);
    }
    if (parser.isSet(historyOption)) {
        if (!LocalFileSystem::shared()->isDirectory(QDir(folder).filePath(QStringLiteral("kestrune"))))
            return noProject();
        return printHistory(folder, parser.value(historyOption), compact, errors);
    }
    if (parser.isSet(searchOption)) {
        if (!LocalFileSystem::shared()->isDirectory(QDir(folder).filePath(QStringLiteral("kestrune"))))
            return noProject();
        return printSearch(
            folder,
            SearchPattern(parser.value(searchOption),
                          {parser.isSet(caseOption), parser.isSet(wordOption), parser.isSet(regexOption)}),
            errors);
    }
    if (parser.isSet(sinceOption)) {
        const std::optional<QDateTime> since = SinceReport::parseMoment(parser.value(sinceOption));
        if (!since) {
            errors << "kestrune-report: --since expects an ISO 8601 date or date and time, not \""
                   << parser.value(sinceOption) << "\"\n";
            return 2;
        }
        const std::optional<TreeNode> tree = buildTree(QUrl::fromLocalFile(folder));
        if (!tree)
            return noProject();
        return printJson(SinceReport::filesModifiedAfter(*tree, *since), compact);
    }
    const std::optional<TreeNode> tree = buildTree(QUrl::fromLocalFile(folder));
    if (!tree)
        return noProject();
    const ProjectSummary summary = computeSummary(*tree);
    return printJson(ProjectReport::reportToJson(*tree, summary), compact);
}
