#include "preview/markdownviewmode.h"

namespace kestrune {

QString rawValue(MarkdownViewMode mode)
{
    switch (mode) {
    case MarkdownViewMode::preview:
        return QStringLiteral("preview");
    case MarkdownViewMode::source:
        return QStringLiteral("source");
    }
    Q_UNREACHABLE();
    return QString();
}

std::optional<MarkdownViewMode> markdownViewModeFromRawValue(QStringView raw)
{
    for (const MarkdownViewMode mode : {MarkdownViewMode::preview, MarkdownViewMode::source}) {
        if (raw == rawValue(mode))
            return mode;
    }
    return std::nullopt;
}

} // namespace kestrune
