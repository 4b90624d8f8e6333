#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace kestrune {

// Recognises the tag of an inline HTML fragment.
class HTMLTag
{
public:
    // The name of the first opening or closing tag in `fragment`, as written
    // ("BR" for "</BR>"); none for a comment or text without a tag. Callers lower
    // the name before comparing it.
    static std::optional<QString> name(QStringView fragment);
};

} // namespace kestrune
