#include "ui/localization.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

#include <limits>

namespace kestrune {

namespace {

const QString translationsPath = QStringLiteral(":/i18n");
const QString tableName = QStringLiteral("kestrune");

// The text placeholder of the table's format texts.
bool hasTextPlaceholder(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%1(?![0-9])"));
    return placeholder.match(text).hasMatch();
}

} // namespace

void Localization::install(QCoreApplication *application, const QLocale &locale)
{
    // Translators are searched newest first: the user's language, then English, then the key.
    auto *english = new QTranslator(application);
    if (english->load(tableName + QStringLiteral("_en"), translationsPath))
        QCoreApplication::installTranslator(english);

    auto *local = new QTranslator(application);
    if (locale.language() != QLocale::English &&
        local->load(locale, tableName, QStringLiteral("_"), translationsPath))
        QCoreApplication::installTranslator(local);

    auto *qt = new QTranslator(application);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}

QString Localization::text(const char *key)
{
    // qtTrId gives the id itself when no installed table has a text for it.
    return qtTrId(key);
}

QString Localization::text(const QString &key)
{
    const QByteArray utf8 = key.toUtf8();
    return qtTrId(utf8.constData());
}

QString Localization::format(const char *key, qint64 value)
{
    // A message with plural forms is looked up with the count, which picks the form and fills
    // %n with plain digits.
    if (value >= 0 && value <= std::numeric_limits<int>::max()) {
        QString plural = qtTrId(key, int(value));
        if (plural != QLatin1String(key))
            return plural;
    }
    // Counts beyond what Qt's lookup takes: filled in as plain digits as well, whichever
    // placeholder the text uses.
    const QString digits = QString::number(value);
    QString text = qtTrId(key);
    text.replace(QLatin1String("%Ln"), digits);
    text.replace(QLatin1String("%n"), digits);
    return text;
}

QString Localization::format(const char *key, const QString &value)
{
    const QString text = Localization::text(key);
    return hasTextPlaceholder(text) ? text.arg(value) : text;
}

QString Localization::integer(const char *format, qint64 value)
{
    if (hasText(format))
        return Localization::format(format, value);
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString result = QString::fromUtf8(format);
    result.replace(QLatin1String("%lld"), locale.toString(value));
    return result;
}

bool Localization::hasText(const char *key)
{
    return qtTrId(key) != QLatin1String(key);
}

} // namespace kestrune
