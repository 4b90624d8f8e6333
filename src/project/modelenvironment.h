#pragma once

#include "project/filesystem.h"

#include <QDateTime>

#include <functional>
#include <memory>

namespace kestrune {

// What the scanner, the change analysis and the summary read from the outside world: the file
// system and the clock. Tests build their own to fail reads and to fix "now".
struct ModelEnvironment
{
    std::shared_ptr<const FileSystem> fileSystem;
    std::function<QDateTime()> now;

    // The local file system and the system clock.
    static const ModelEnvironment &system();
};

} // namespace kestrune
