#pragma once

#include <QString>

namespace kestrune {

// A selection as the clipboard takes it: the text as a reader reads it (list markers, table
// cells separated by tabs) and the same text as Markdown.
struct CopiedText
{
    QString plainText;
    QString markdown;

    bool isEmpty() const { return plainText.isEmpty() && markdown.isEmpty(); }
};

} // namespace kestrune
