#pragma once

#include <QStringList>

#include <optional>

class QCoreApplication;

namespace kestrune {

// The program's command line, read once the application object exists, as every Qt program
// reads it: the application object has taken Qt's own options (-platform, -display, -reverse,
// -style, ...); --help, --help-all and --version print their text and end the program with
// status 0, an unknown option prints the error and ends it with status 1. What remains are the
// paths to open and --new-window.
struct CommandLine
{
    // Absolute, cleaned paths of what was named, in order. A file: URL, as a launcher passes
    // it, stands for its local path; an address of another kind (sftp://...) stays as named, to
    // be refused as no local folder.
    QStringList paths;
    // Start an independent instance instead of handing the paths to the running one.
    bool newWindow = false;
    // Set by parse when the program should end at once (after --help, --help-all, --version or
    // a usage error) with this exit code; what it had to say is already printed.
    std::optional<int> exitCode;

    // Reads the application's arguments; ends the process on a request for text or a usage
    // error, as QCommandLineParser::process does.
    static CommandLine process(const QCoreApplication &application);
    // The same reading of a list of arguments, which never ends the process (the help text
    // here leaves out Qt's own options). Needs an application object for the program's name,
    // version and texts.
    static CommandLine parse(const QStringList &arguments);

    // Whether the arguments ask for --help, --help-all or --version. Such a run only prints, so
    // it needs no display; the program answers it on Qt's offscreen platform.
    static bool asksForTextOnly(int argc, const char *const *argv);
    // One positional argument as a path: a file: URL becomes its local path, anything else is
    // a path, relative ones taken from the working folder. Absolute and clean.
    static QString pathOf(const QString &argument);

    // One line for each path that cannot be opened: the path and why (ProjectLocation).
    QStringList unusablePaths() const;
};

} // namespace kestrune
