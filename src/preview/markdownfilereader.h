#pragma once

#include "preview/markdownpreviewstate.h"

#include <QByteArrayView>
#include <QString>

namespace kestrune {

// The background half of the preview's load: reads a whole file, decodes it as UTF-8 and says
// what the pane should show. Touches nothing shared, so it runs on any thread; the error
// message is looked up by the caller beforehand.
class MarkdownFileReader
{
public:
    MarkdownFileReader() = delete;

    // The error state when the file cannot be read or is not UTF-8, the empty state when it
    // holds nothing but white space and line breaks, else its text unchanged.
    static MarkdownPreviewState read(const QString &path, const QString &errorMessage);
    static MarkdownPreviewState decode(QByteArrayView bytes, const QString &errorMessage);
};

} // namespace kestrune
