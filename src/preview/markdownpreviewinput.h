#pragma once

#include "project/deltaspectype.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace kestrune {

// What the preview of a Markdown file is made from.
struct MarkdownPreviewInput
{
    QUrl fileURL;
    std::optional<DeltaSpecType> deltaType;
    bool linksOutsideProject = false;
    QString projectFolder; // pictures are read from disk inside it only
    bool loadsRemoteImages = true;
};

} // namespace kestrune
