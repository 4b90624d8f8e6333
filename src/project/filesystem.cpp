#include "project/filesystem.h"

#include "text/textlines.h"

namespace kestrune {

FileReadError FileSystem::forEachLine(const QString &path,
                                      const std::function<void(QStringView)> &visit) const
{
    const std::optional<QByteArray> bytes = readFile(path);
    if (!bytes)
        return FileReadError::other;
    const std::optional<QString> text = TextLines::decodeUtf8(*bytes);
    if (!text)
        return FileReadError::notUtf8;
    TextLines::forEachLine(*text, visit);
    return FileReadError::none;
}

} // namespace kestrune
