#pragma once

#include "model/deltaspectype.h"

#include <QUrl>

#include <optional>

namespace kestrune {

// What the preview of a Markdown file is made from.
struct MarkdownPreviewInput
{
    QUrl fileURL;
    std::optional<DeltaSpecType> deltaType;
    bool linksOutsideProject = false;
};

} // namespace kestrune
