#include "history/filehistoryentry.h"

#include "text/rawvaluetable.h"

namespace kestrune {

namespace {

constexpr RawValueTable<FileChangeKind, 3> rawValues({{
    {FileChangeKind::added, "added"},
    {FileChangeKind::modified, "modified"},
    {FileChangeKind::renamed, "renamed"},
}});

} // namespace

QString rawValue(FileChangeKind kind)
{
    return rawValues.rawValue(kind);
}

} // namespace kestrune
