#pragma once

#include "highlight/codetoken.h"

#include <QStringView>

#include <optional>

namespace kestrune {

// The kind of token a highlight.js class name ("keyword", "built_in", "selector-id", ...)
// stands for. Nothing for the classes that only group others ("function", "class", "params"):
// their text takes the kind of the class around them.
std::optional<CodeTokenKind> codeTokenKindOfClass(QStringView className);

} // namespace kestrune
