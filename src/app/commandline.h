#pragma once

#include <QStringList>

#include <optional>

namespace kestrune {

// The program's command line: project folders to import at start, --help and --version.
struct CommandLine
{
    // Absolute, cleaned paths of the folders named, in order.
    QStringList folders;
    // Set when the program should end at once (after --help, --version or a usage error) with
    // this exit code; what it had to say is already printed.
    std::optional<int> exitCode;

    // Needs an application object for the program's name, version and texts.
    static CommandLine parse(const QStringList &arguments);
};

} // namespace kestrune
