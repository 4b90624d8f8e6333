#include "app/commandline.h"

#include "ui/localization.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

namespace kestrune {

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Localization::text("app.title") + QStringLiteral(" — ") +
                                     Localization::text("app.cli.description"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("folders"), Localization::text("app.cli.folders"),
                                 QStringLiteral("[folder...]"));

    CommandLine result;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n\n%s", qUtf8Printable(parser.errorText()),
                     qUtf8Printable(parser.helpText()));
        result.exitCode = 1;
        return result;
    }
    if (parser.isSet(help)) {
        std::fputs(qUtf8Printable(parser.helpText()), stdout);
        result.exitCode = 0;
        return result;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qUtf8Printable(QCoreApplication::applicationName()),
                    qUtf8Printable(QCoreApplication::applicationVersion()));
        result.exitCode = 0;
        return result;
    }
    const QStringList positional = parser.positionalArguments();
    for (const QString &folder : positional)
        result.folders.append(QDir::cleanPath(QDir::current().absoluteFilePath(folder)));
    return result;
}

} // namespace kestrune
