#pragma once

namespace kestrune {

// Why a project file could not be read, so that the reader can be told what happened.
enum class FileReadError
{
    none,
    notFound,
    permissionDenied,
    notRegularFile, // a folder, a named pipe, a device, a socket
    tooLarge,
    notUtf8,
    other, // any other failure of the file system
};

} // namespace kestrune
