#include "preview/markdownviewmode.h"

#include "text/rawvaluetable.h"

namespace kestrune {

namespace {

constexpr RawValueTable<MarkdownViewMode, 2> rawValues({{
    {MarkdownViewMode::preview, "preview"},
    {MarkdownViewMode::source, "source"},
}});

} // namespace

QString rawValue(MarkdownViewMode value)
{
    return rawValues.rawValue(value);
}

std::optional<MarkdownViewMode> markdownViewModeFromRawValue(QStringView raw)
{
    return rawValues.fromRawValue(raw);
}

} // namespace kestrune
