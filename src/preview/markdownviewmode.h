#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace kestrune {

// How the preview pane shows a file's text: rendered as a document or as its raw source. The
// cases are listed in the order of the pane's switch.
enum class MarkdownViewMode
{
    preview,
    source
};

QString rawValue(MarkdownViewMode mode);
std::optional<MarkdownViewMode> markdownViewModeFromRawValue(QStringView raw);

} // namespace kestrune
