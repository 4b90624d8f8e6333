#pragma once

#include <QString>

#include <optional>

namespace kestrune {

// An image of a paragraph drawn as an image block or in an image flow.
struct RawImageData
{
    QString source;
    QString alt;
    std::optional<QString> destination; // the link target when the image is the only content of a link

    friend bool operator==(const RawImageData &, const RawImageData &) = default;
};

} // namespace kestrune
