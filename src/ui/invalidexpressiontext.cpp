#include "ui/invalidexpressiontext.h"

#include "ui/localization.h"

#include <QCoreApplication>

#include <array>

namespace kestrune {

namespace {

struct KnownError
{
    const char *message; // as the expression engine words it
    const char *key;
};

// The errors a person typing an expression meets most, by the engine's wording.
constexpr std::array<KnownError, 7> knownErrors = {{
    {"missing closing parenthesis", "find.expression_error.missing_parenthesis"},
    {"missing terminating ] for character class", "find.expression_error.missing_bracket"},
    {"unmatched closing parenthesis", "find.expression_error.unmatched_parenthesis"},
    {"quantifier does not follow a repeatable item", "find.expression_error.nothing_to_repeat"},
    {"\\ at end of pattern", "find.expression_error.trailing_backslash"},
    {"range out of order in character class", "find.expression_error.range_out_of_order"},
    {"unrecognized character follows \\", "find.expression_error.unknown_escape"},
}};

// The position of the character at `offset` (UTF-16 code units), counted in characters from 1.
qint64 characterPosition(QStringView text, qsizetype offset)
{
    qint64 position = 1;
    for (qsizetype index = 0; index < offset && index < text.size(); ++index) {
        if (!text[index].isLowSurrogate())
            ++position;
    }
    return position;
}

} // namespace

QString InvalidExpressionText::of(const SearchPattern &pattern)
{
    if (pattern.isValid())
        return {};
    const qint64 position = characterPosition(pattern.text(), pattern.errorOffset());
    // The engine's words, or Qt's translation of them where a table of Qt's own texts has one.
    for (const KnownError &error : knownErrors) {
        const QString &message = pattern.errorMessage();
        if (message == QLatin1String(error.message) ||
            message == QCoreApplication::translate("QRegularExpression", error.message))
            return Localization::format("find.invalid_expression", Localization::format(error.key, position));
    }
    return Localization::format("find.expression_error.at_position", position);
}

} // namespace kestrune
