#include "markdown/layout/style/notestyles.h"

#include "markdown/layout/style/relativesize.h"

#include "ui/localization.h"

namespace kestrune {

BlockStyle<FootnoteConfiguration> NoteStyles::footnote(const DynamicColor &rule)
{
    return [rule](const FootnoteConfiguration &configuration) {
        BlockView note = configuration.label.textStyle(TextStyle::fontSize(RelativeSize::em(0.85)));
        if (configuration.number != 1)
            return note;
        return BlockView::vstack(
                   {BlockView::divider(rule), note.padding(BlockView::top, RelativeSize::em(0.8))})
            .margin(RelativeSize::em(1.5), std::nullopt);
    };
}

BlockStyle<AlertConfiguration> NoteStyles::alert()
{
    return [](const AlertConfiguration &configuration) {
        const DynamicColor accent = alertAccent(configuration.kind);
        const BlockView title =
            BlockView::hstack(
                {BlockView::symbol(configuration.symbol, 1, QFont::DemiBold), configuration.heading},
                BlockView::VerticalAlignment::center, 6)
                .textStyle(TextStyle::fontWeight(QFont::DemiBold) + TextStyle::foregroundColor(accent))
                .padding(BlockView::bottom, RelativeSize::em(0.4));
        const BlockView bar = BlockView::rectangle(accent, 2).frame(4);
        const BlockView body = BlockView::vstack({title, configuration.label})
                                   .padding(BlockView::leading, RelativeSize::em(0.8));
        return BlockView::hstack({bar, body}).margin(0, 14);
    };
}

DynamicColor NoteStyles::alertAccent(AlertKind kind)
{
    switch (kind) {
    case AlertKind::none:
    case AlertKind::note:
        break;
    case AlertKind::tip:
        return dynamicColor(0.30f, 0.75f, 0.40f, 1.0f, 0.10f, 0.48f, 0.20f, 1.0f);
    case AlertKind::important:
        return dynamicColor(0.70f, 0.55f, 1.0f, 1.0f, 0.50f, 0.25f, 0.85f, 1.0f);
    case AlertKind::warning:
        return dynamicColor(0.90f, 0.70f, 0.20f, 1.0f, 0.56f, 0.35f, 0.0f, 1.0f);
    case AlertKind::caution:
        return dynamicColor(1.0f, 0.45f, 0.42f, 1.0f, 0.78f, 0.13f, 0.15f, 1.0f);
    }
    return dynamicColor(0.35f, 0.62f, 1.0f, 1.0f, 0.04f, 0.36f, 0.80f, 1.0f);
}

// An alert's title in the user's language; in English where no table of texts is loaded.
QString NoteStyles::alertTitle(AlertKind kind)
{
    const char *key = nullptr;
    switch (kind) {
    case AlertKind::none:
        return {};
    case AlertKind::note:
        key = "markdown.alert.note";
        break;
    case AlertKind::tip:
        key = "markdown.alert.tip";
        break;
    case AlertKind::important:
        key = "markdown.alert.important";
        break;
    case AlertKind::warning:
        key = "markdown.alert.warning";
        break;
    case AlertKind::caution:
        key = "markdown.alert.caution";
        break;
    }
    return Localization::hasText(key) ? Localization::text(key) : alertKindTitle(kind);
}

QString NoteStyles::alertSymbol(AlertKind kind)
{
    const QString name = alertKindRawValue(kind);
    return QStringLiteral("callout.") + (name.isEmpty() ? QStringLiteral("note") : name);
}

} // namespace kestrune
