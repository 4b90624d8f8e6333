#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace kestrune {

// Every user-visible text is looked up here by a dotted key ("dashboard.loading"); when the
// table has no text for a key the key itself is shown. The table is the set of translation
// files in src/ui/translations, which use the keys as message ids; the English one holds every
// key, other languages may leave some out (English then stands in).
//
// Texts that take an argument use Qt's placeholders: "%n" for an integer (such a message may
// have plural forms: numerus="yes" in the translation file), "%1" for a text. Counts are plain
// digits, never grouped, as the dashboard's summary values show them; so the tables use "%n",
// never "%Ln", which Qt fills with the locale's grouping.
class Localization
{
public:
    Localization() = delete;

    // Loads the English table, then the table of the locale's language over it, plus Qt's own
    // texts for that language (standard dialogs). The translators are owned by the application.
    static void install(QCoreApplication *application, const QLocale &locale = QLocale());

    static QString text(const char *key);
    static QString text(const QString &key);

    // A format key filled with one integer in the user's locale. A text without a placeholder
    // is shown as it is.
    static QString format(const char *key, qint64 value);
    // A format key filled with one text (for instance a date already formatted).
    static QString format(const char *key, const QString &value);

    // A text built from an integer by the views: "%lld", "%lld%" (a percentage) or "%lld." (a list
    // marker). The format itself is the key; when the table has no text for it, the integer is
    // put in place of "%lld" directly.
    static QString integer(const char *format, qint64 value);

    // Whether the table holds a text for the key.
    static bool hasText(const char *key);
};

} // namespace kestrune
