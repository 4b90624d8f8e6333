#include "markdown/layout/style/markerstyles.h"

#include "ui/localization.h"

namespace kestrune {

namespace {

constexpr RelativeSize markerMinimumWidth = RelativeSize::em(1.5);

BlockView textMarker(const QString &text)
{
    return BlockView::text(text)
        .textStyle(TextStyle::fontDigitVariant(FontProperties::DigitVariant::monospaced))
        .frame(markerMinimumWidth, BlockView::HorizontalAlignment::trailing);
}

} // namespace

QString MarkerStyles::bulletSymbol(int listLevel)
{
    if (listLevel <= 1)
        return QStringLiteral("circle.fill");
    if (listLevel == 2)
        return QStringLiteral("circle");
    return QStringLiteral("square.fill");
}

QString MarkerStyles::romanNumeral(int number)
{
    if (number < 1 || number > 3999)
        return QString::number(number);
    static const struct
    {
        int value;
        const char *numeral;
    } numerals[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                    {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    QString result;
    for (const auto &entry : numerals) {
        while (number >= entry.value) {
            result += QLatin1String(entry.numeral);
            number -= entry.value;
        }
    }
    return result;
}

BlockStyle<ListMarkerConfiguration> MarkerStyles::discCircleSquare()
{
    return [](const ListMarkerConfiguration &configuration) {
        return BlockView::symbol(bulletSymbol(configuration.listLevel), 1.0 / 3.0);
    };
}

BlockStyle<ListMarkerConfiguration> MarkerStyles::decimal()
{
    return [](const ListMarkerConfiguration &configuration) {
        return textMarker(Localization::integer("%lld.", configuration.itemNumber));
    };
}

BlockStyle<ListMarkerConfiguration> MarkerStyles::upperRoman()
{
    return [](const ListMarkerConfiguration &configuration) {
        return textMarker(romanNumeral(configuration.itemNumber) + QLatin1Char('.'));
    };
}

BlockStyle<ListMarkerConfiguration> MarkerStyles::lowerRoman()
{
    return [](const ListMarkerConfiguration &configuration) {
        return textMarker(romanNumeral(configuration.itemNumber).toLower() + QLatin1Char('.'));
    };
}

BlockStyle<ListMarkerConfiguration> MarkerStyles::dash()
{
    return [](const ListMarkerConfiguration &) { return textMarker(Localization::text("-")); };
}

BlockStyle<TaskListMarkerConfiguration> MarkerStyles::checkbox()
{
    return [](const TaskListMarkerConfiguration &configuration) {
        return BlockView::symbol(configuration.isCompleted ? QStringLiteral("checkmark.square.fill")
                                                           : QStringLiteral("square"))
            .frame(markerMinimumWidth, BlockView::HorizontalAlignment::trailing);
    };
}

} // namespace kestrune
