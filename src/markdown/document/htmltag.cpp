#include "markdown/document/htmltag.h"

#include <QRegularExpression>

namespace kestrune {

namespace {

const QRegularExpression &tagExpression()
{
    // Compiled once per process; the initialisation of a local static is guarded.
    static const QRegularExpression expression = [] {
        QRegularExpression compiled(QStringLiteral("<\\/?([a-zA-Z0-9]+)[^>]*>"));
        if (!compiled.isValid())
            qFatal("The HTML tag expression does not compile: %s", qPrintable(compiled.errorString()));
        return compiled;
    }();
    return expression;
}

} // namespace

std::optional<QString> HTMLTag::name(QStringView fragment)
{
    const QRegularExpressionMatch match = tagExpression().match(fragment);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

} // namespace kestrune
