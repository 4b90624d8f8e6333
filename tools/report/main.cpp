#include "projectreport.h"

#include "model/projectscanner.h"
#include "model/summarycomputation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

using namespace kestrune;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrune-report"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUNE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Scans a project folder that holds a \"kestrune\" planning folder and prints its outline tree "
        "and summary as one JSON object: {\"tree\": ..., \"summary\": ...}."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The project folder."));
    QCommandLineOption compactOption(QStringLiteral("compact"),
                                     QStringLiteral("Print the JSON on one line."));
    parser.addOption(compactOption);

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

    const QString folder = QDir::cleanPath(QFileInfo(folders.first()).absoluteFilePath());
    const std::optional<TreeNode> tree = buildTree(QUrl::fromLocalFile(folder));
    if (!tree) {
        errors << "kestrune-report: " << folder << " holds no \"kestrune\" folder\n";
        return 1;
    }
    const ProjectSummary summary = computeSummary(*tree);
    const QJsonDocument document(ProjectReport::reportToJson(*tree, summary));
    const QByteArray json =
        document.toJson(parser.isSet(compactOption) ? QJsonDocument::Compact : QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
