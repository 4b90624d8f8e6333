#include "model/modelenvironment.h"

#include "model/localfilesystem.h"

const ModelEnvironment &ModelEnvironment::system()
{
    static const ModelEnvironment environment{LocalFileSystem::shared(),
                                              [] { return QDateTime::currentDateTimeUtc(); }};
    return environment;
}
