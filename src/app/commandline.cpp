#include "app/commandline.h"

#include "app/projectlocation.h"
#include "ui/localization.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QUrl>

#include <cstdio>
#include <cstring>

namespace kestrune {

namespace {

struct Options
{
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption newWindow;
};

Options describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(Localization::text("app.title") + QStringLiteral(" — ") +
                                     Localization::text("app.cli.description") + QStringLiteral("\n\n") +
                                     Localization::text("app.cli.exit_status"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption newWindow(QStringLiteral("new-window"),
                                       Localization::text("app.cli.new_window"));
    parser.addOption(newWindow);
    parser.addPositionalArgument(QStringLiteral("paths"), Localization::text("app.cli.paths"),
                                 QStringLiteral("[path...]"));
    return {help, version, newWindow};
}

CommandLine readParsed(const QCommandLineParser &parser, const Options &options)
{
    CommandLine result;
    result.newWindow = parser.isSet(options.newWindow);
    const QStringList positional = parser.positionalArguments();
    for (const QString &argument : positional)
        result.paths.append(CommandLine::pathOf(argument));
    return result;
}

} // namespace

CommandLine CommandLine::process(const QCoreApplication &application)
{
    QCommandLineParser parser;
    const Options options = describe(parser);
    parser.process(application);
    return readParsed(parser, options);
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const Options options = describe(parser);
    CommandLine result;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QCoreApplication::applicationName()),
                     qUtf8Printable(parser.errorText()));
        result.exitCode = 1;
        return result;
    }
    if (parser.isSet(options.help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qUtf8Printable(parser.helpText()), stdout);
        result.exitCode = 0;
        return result;
    }
    if (parser.isSet(options.version)) {
        std::printf("%s %s\n", qUtf8Printable(QCoreApplication::applicationName()),
                    qUtf8Printable(QCoreApplication::applicationVersion()));
        result.exitCode = 0;
        return result;
    }
    return readParsed(parser, options);
}

bool CommandLine::asksForTextOnly(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
        if (std::strcmp(argument, "--") == 0)
            return false; // only paths follow
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argument, option) == 0)
                return true;
        }
    }
    return false;
}

QString CommandLine::pathOf(const QString &argument)
{
    if (argument.isEmpty() || ProjectLocation::isRemoteAddress(argument))
        return argument; // names nothing here, and is reported so
    QString path = argument;
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (url.isValid() && url.isLocalFile())
            path = url.toLocalFile();
    }
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QStringList CommandLine::unusablePaths() const
{
    QStringList lines;
    for (const QString &path : paths) {
        const ProjectLocation location = ProjectLocation::resolve(path);
        if (location.error)
            lines.append(location.errorText());
    }
    return lines;
}

} // namespace kestrune
