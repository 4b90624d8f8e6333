#include "markdown/document/alertkind.h"

#include <array>

namespace kestrune {

namespace {

struct AlertName
{
    AlertKind kind;
    const char *rawValue;
    const char *title;
};

constexpr std::array<AlertName, 5> alertNames{{
    {AlertKind::note, "note", "Note"},
    {AlertKind::tip, "tip", "Tip"},
    {AlertKind::important, "important", "Important"},
    {AlertKind::warning, "warning", "Warning"},
    {AlertKind::caution, "caution", "Caution"},
}};

const AlertName *nameOf(AlertKind kind)
{
    for (const AlertName &name : alertNames) {
        if (name.kind == kind)
            return &name;
    }
    return nullptr;
}

} // namespace

AlertKind alertKindFromMarker(QStringView line)
{
    if (!line.startsWith(u"[!") || !line.endsWith(u']'))
        return AlertKind::none;
    const QStringView word = line.mid(2, line.size() - 3);
    for (const AlertName &name : alertNames) {
        if (word.compare(QLatin1String(name.rawValue), Qt::CaseInsensitive) == 0)
            return name.kind;
    }
    return AlertKind::none;
}

QString alertKindRawValue(AlertKind kind)
{
    const AlertName *name = nameOf(kind);
    return name ? QLatin1String(name->rawValue) : QString();
}

QString alertKindMarker(AlertKind kind)
{
    const AlertName *name = nameOf(kind);
    return name ? QStringLiteral("[!") + QString::fromLatin1(name->rawValue).toUpper() + u']' : QString();
}

QString alertKindTitle(AlertKind kind)
{
    const AlertName *name = nameOf(kind);
    return name ? QLatin1String(name->title) : QString();
}

} // namespace kestrune
