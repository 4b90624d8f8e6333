#include "highlight/codetoken.h"

namespace kestrune {

QString codeTokenKindName(CodeTokenKind kind)
{
    switch (kind) {
    case CodeTokenKind::keyword:
        return QStringLiteral("keyword");
    case CodeTokenKind::builtIn:
        return QStringLiteral("built-in");
    case CodeTokenKind::type:
        return QStringLiteral("type");
    case CodeTokenKind::title:
        return QStringLiteral("title");
    case CodeTokenKind::string:
        return QStringLiteral("string");
    case CodeTokenKind::number:
        return QStringLiteral("number");
    case CodeTokenKind::literal:
        return QStringLiteral("literal");
    case CodeTokenKind::comment:
        return QStringLiteral("comment");
    case CodeTokenKind::meta:
        return QStringLiteral("meta");
    case CodeTokenKind::tag:
        return QStringLiteral("tag");
    case CodeTokenKind::attribute:
        return QStringLiteral("attribute");
    case CodeTokenKind::variable:
        return QStringLiteral("variable");
    case CodeTokenKind::regexp:
        return QStringLiteral("regexp");
    case CodeTokenKind::addition:
        return QStringLiteral("addition");
    case CodeTokenKind::deletion:
        return QStringLiteral("deletion");
    case CodeTokenKind::section:
        return QStringLiteral("section");
    case CodeTokenKind::link:
        return QStringLiteral("link");
    case CodeTokenKind::emphasis:
        return QStringLiteral("emphasis");
    }
    return {};
}

} // namespace kestrune
