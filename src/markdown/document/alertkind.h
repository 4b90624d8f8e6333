#pragma once

#include <QString>
#include <QStringView>

namespace kestrune {

// What a block quote that opens with a line of its own like "[!NOTE]" calls out. The marker is
// matched without regard to case; any other word in the brackets leaves the quote a plain one.
enum class AlertKind
{
    none, // a plain quote
    note,
    tip,
    important,
    warning,
    caution,
};

// The kind the first line of a quote names, e.g. note for "[!note]"; none for anything else.
AlertKind alertKindFromMarker(QStringView line);

// The marker's word in lower case ("note"), as the HTML classes and the model's JSON name it;
// empty for none.
QString alertKindRawValue(AlertKind kind);

// The marker as Markdown writes it, "[!NOTE]"; empty for none.
QString alertKindMarker(AlertKind kind);

// The English title a rendered callout shows ("Note"); empty for none. The views put a
// translated title in its place.
QString alertKindTitle(AlertKind kind);

} // namespace kestrune
