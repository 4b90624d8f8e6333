#include "project/modelenvironment.h"

#include "project/localfilesystem.h"

namespace kestrune {

const ModelEnvironment &ModelEnvironment::system()
{
    static const ModelEnvironment environment{LocalFileSystem::shared(),
                                              [] { return QDateTime::currentDateTimeUtc(); }};
    return environment;
}

} // namespace kestrune
