#pragma once

#include "markdown/layout/document/copiedtext.h"

class QMimeData;

namespace kestrune {

// The clipboard's data for copied text: "text/plain" and "text/markdown". The caller owns it
// (QClipboard::setMimeData takes it over).
QMimeData *copiedTextMimeData(const CopiedText &text);

} // namespace kestrune
