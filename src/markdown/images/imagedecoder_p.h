#pragma once

#include "markdown/images/networkimageresult.h"

#include <QByteArray>
#include <QString>

namespace kestrune {

// Turns the bytes of a picture into a bitmap, with one set of rules for every source (a download,
// a file beside the document): any format Qt reads, decoded at most 4096 pixels on its longer
// side (aspect ratio kept), a raster header claiming more than 100 million pixels refused before
// its pixels are allocated, Qt's own allocation limit kept for formats that declare no size, and
// SVG rendered only once SvgSanitizer has made it safe. Safe to call from any thread.
namespace ImageDecoder {

// `contentType`: the MIME type the source declares, if any; it only helps to recognise SVG.
NetworkImageResult decode(const QByteArray &bytes, const QString &contentType = {});

} // namespace ImageDecoder

} // namespace kestrune
