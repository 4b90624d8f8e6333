#pragma once

#include <QByteArray>

#include <optional>

namespace kestrune {

// Makes an SVG document from the network safe to render: the renderer reads
// any local file (or FIFO) a document names, so nothing in it may point
// outside the document itself.
namespace SvgSanitizer {

// The document rewritten without comments, processing instructions (style
// sheets among them) or a DTD. A reference (href) may only be a same-document
// "#fragment" or a data: URL. <image>, <feImage> and <use> elements that point
// elsewhere are removed with their content, and so are embedded pictures that
// are neither a raster image nor an SVG document that is itself made safe; on
// other elements only the attribute goes. Attributes and style sheets whose
// CSS has url() pointing elsewhere, @import or escapes are removed too.
// Nothing when the document is not well-formed XML.
std::optional<QByteArray> sanitized(const QByteArray &document);

} // namespace SvgSanitizer

} // namespace kestrune
