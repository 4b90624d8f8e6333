#include "ui/localization.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTranslator>

#include <algorithm>

using namespace kestrune;

namespace {

const QString sourceDir = QStringLiteral(KESTRUNE_SOURCE_DIR);

void removeTranslators()
{
    const auto translators = QCoreApplication::instance()->findChildren<QTranslator *>();
    for (QTranslator *translator : translators) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

// Every key written as a literal in the program's sources: a quoted text whose first word names
// one of the areas of the table.
QSet<QString> keysUsedInSources()
{
    static const QRegularExpression key(
        QStringLiteral("\"((?:about|action|app|common|dashboard|drop|import|markdown|notification|project_"
                       "tree|quickopen|search|shortcuts|sidebar|theme|toolbar)(?:\\.[a-z0-9_]+)+)\""));
    QSet<QString> keys;
    QDirIterator files(sourceDir + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = key.globalMatch(text); match.hasNext();)
            keys.insert(match.next().captured(1));
    }
    return keys;
}

QStringList keysOfTable(const QString &language)
{
    QFile file(sourceDir + QStringLiteral("/src/ui/translations/kestrune_%1.ts").arg(language));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression id(QStringLiteral("<message id=\"([^\"]+)\""));
    QStringList keys;
    const QString text = QString::fromUtf8(file.readAll());
    for (auto match = id.globalMatch(text); match.hasNext();)
        keys.append(match.next().captured(1));
    return keys;
}

// The single-form texts of a table by key (plural messages are left out).
QMap<QString, QString> textsOfTable(const QString &language)
{
    QFile file(sourceDir + QStringLiteral("/src/ui/translations/kestrune_%1.ts").arg(language));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression message(QStringLiteral(
        "<message id=\"([^\"]+)\">\\s*(?:<source>[^<]*</source>\\s*)?<translation>([^<]*)</translation>"));
    QMap<QString, QString> texts;
    const QString text = QString::fromUtf8(file.readAll());
    for (auto match = message.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        texts.insert(found.captured(1), found.captured(2));
    }
    return texts;
}

} // namespace

class TestLocalization : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void withoutATableEveryTextIsItsKey();
    void englishTexts_data();
    void englishTexts();
    void countsArePlainDigitsInEveryLocale_data();
    void countsArePlainDigitsInEveryLocale();
    void noTableGroupsItsCounts();
    void everyKeyTheProgramUsesHasAnEnglishText();
    void theSecondLanguageCoversEveryKey();
    void theSecondLanguageHasOneWordPerConcept();
};

void TestLocalization::cleanup()
{
    removeTranslators();
    QLocale::setDefault(QLocale::c());
}

void TestLocalization::withoutATableEveryTextIsItsKey()
{
    QCOMPARE(Localization::text("app.title"), QStringLiteral("app.title"));
    QCOMPARE(Localization::text("import.failed.title"), QStringLiteral("import.failed.title"));
    QCOMPARE(Localization::format("dashboard.summary.reqs_format", 4),
             QStringLiteral("dashboard.summary.reqs_format"));
    QCOMPARE(Localization::format("dashboard.archived_on_format", QStringLiteral("2024-01-02")),
             QStringLiteral("dashboard.archived_on_format"));
    QCOMPARE(Localization::integer("%lld", 42), QStringLiteral("42"));
    QCOMPARE(Localization::integer("%lld%", 75), QStringLiteral("75%"));
    QCOMPARE(Localization::integer("%lld.", 8), QStringLiteral("8."));
    QCOMPARE(Localization::text("-"), QStringLiteral("-"));
}

void TestLocalization::englishTexts_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");
    Localization::install(QCoreApplication::instance(), QLocale(QLocale::English, QLocale::UnitedStates));
    QTest::addRow("plain text") << Localization::text("app.title") << QStringLiteral("Kestrune Viewer");
    QTest::addRow("format with one") << Localization::format("dashboard.summary.reqs_format", 1)
                                     << QStringLiteral("1 requirement");
    QTest::addRow("format with many")
        << Localization::format("dashboard.summary.reqs_format", 12) << QStringLiteral("12 requirements");
    QTest::addRow("count in a text without plural forms")
        << Localization::format("dashboard.specifications.title_with_count", 3)
        << QStringLiteral("Specifications (3)");
    QTest::addRow("size in a notice")
        << Localization::format("markdown.large.notice", 10)
        << QStringLiteral(
               "This file is large (10 MB), so it is shown as source. Rendering it may take a while.");
    QTest::addRow("text argument") << Localization::format("dashboard.archived_on_format",
                                                           QStringLiteral("2024-01-02"))
                                   << QStringLiteral("Archived on 2024-01-02");
    QTest::addRow("a text without placeholder ignores the argument")
        << Localization::format("app.title", 5) << QStringLiteral("Kestrune Viewer");
    QTest::addRow("unknown key") << Localization::text("dashboard.no_such_key")
                                 << QStringLiteral("dashboard.no_such_key");
    removeTranslators();
}

void TestLocalization::englishTexts()
{
    QFETCH(QString, shown);
    QFETCH(QString, expected);
    QCOMPARE(shown, expected);
}

void TestLocalization::countsArePlainDigitsInEveryLocale_data()
{
    // Counts read as the summary cards' values do: digits without grouping, whatever the
    // locale's habit, while the language still picks the words and the plural form.
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QByteArray requirements("dashboard.summary.reqs_format");
    const QByteArray title("dashboard.specifications.title_with_count");
    QTest::addRow("English, many") << english << requirements << 1234 << QStringLiteral("1234 requirements");
    QTest::addRow("English, one") << english << requirements << 1 << QStringLiteral("1 requirement");
    QTest::addRow("English, title") << english << title << 1234 << QStringLiteral("Specifications (1234)");
    QTest::addRow("German, many") << german << requirements << 1234 << QStringLiteral("1234 Anforderungen");
    QTest::addRow("German, one") << german << requirements << 1 << QStringLiteral("1 Anforderung");
    QTest::addRow("German, title") << german << title << 1234 << QStringLiteral("Spezifikationen (1234)");
    QTest::addRow("French locale, English text") << QLocale(QLocale::French, QLocale::France) << requirements
                                                 << 20000 << QStringLiteral("20000 requirements");
}

void TestLocalization::countsArePlainDigitsInEveryLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, key);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QLocale::setDefault(locale);
    Localization::install(QCoreApplication::instance(), locale);
    QCOMPARE(Localization::format(key.constData(), count), expected);
}

void TestLocalization::noTableGroupsItsCounts()
{
    // Qt fills "%Ln" with the locale's grouping ("1,234"); a table that used it would bring the
    // separators back in that language only.
    for (const QString &language : {QStringLiteral("en"), QStringLiteral("de")}) {
        QFile file(sourceDir + QStringLiteral("/src/ui/translations/kestrune_%1.ts").arg(language));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(!file.readAll().contains("%Ln"), qPrintable(language));
    }
}

void TestLocalization::everyKeyTheProgramUsesHasAnEnglishText()
{
    const QSet<QString> used = keysUsedInSources();
    QVERIFY2(used.contains(QStringLiteral("app.title")), "the source scan finds the keys");
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/i18n/kestrune_en.qm")));
    for (const QString &key : used) {
        const QByteArray id = key.toUtf8();
        QVERIFY2(!english.translate(nullptr, id.constData()).isEmpty(), qPrintable(key));
    }
}

void TestLocalization::theSecondLanguageCoversEveryKey()
{
    const QStringList english = keysOfTable(QStringLiteral("en"));
    QVERIFY(!english.isEmpty());
    QCOMPARE(keysOfTable(QStringLiteral("de")), english);
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(":/i18n/kestrune_de.qm")));
    for (const QString &key : english) {
        const QByteArray id = key.toUtf8();
        QVERIFY2(!german.translate(nullptr, id.constData()).isEmpty(), qPrintable(key));
    }
}

void TestLocalization::theSecondLanguageHasOneWordPerConcept()
{
    // Keys that name one concept and may, or must, share a text.
    const QList<QSet<QString>> concepts = {
        {QStringLiteral("dashboard.summary.draft"), QStringLiteral("dashboard.section.draft_changes")},
        {QStringLiteral("dashboard.summary.active"), QStringLiteral("dashboard.badge.active")},
        {QStringLiteral("dashboard.badge.completed"), QStringLiteral("dashboard.section.completed")},
        {QStringLiteral("dashboard.summary.specs"), QStringLiteral("dashboard.workflow.specs")},
        {QStringLiteral("dashboard.task_progress"), QStringLiteral("dashboard.workflow.tasks")},
        {QStringLiteral("dashboard.spec_catalog.empty"), QStringLiteral("dashboard.empty.specifications")},
        // The commits that changed something, whether a change, a file or a requirement.
        {QStringLiteral("history.button"), QStringLiteral("filehistory.action"),
         QStringLiteral("review.history.action")},
        // What became of a file since it was read, or of a requirement in a commit.
        {QStringLiteral("catchup.change.changed"), QStringLiteral("review.history.modified")},
        {QStringLiteral("catchup.change.removed"), QStringLiteral("review.history.removed")},
        {QStringLiteral("history.loading"), QStringLiteral("review.history.reading")},
    };
    const auto sameConcept = [&](const QString &first, const QString &second) {
        return std::any_of(concepts.cbegin(), concepts.cend(), [&](const QSet<QString> &keys) {
            return keys.contains(first) && keys.contains(second);
        });
    };

    const QMap<QString, QString> german = textsOfTable(QStringLiteral("de"));
    QVERIFY(german.size() > 40);
    QHash<QString, QString> keyOfText;
    for (auto it = german.cbegin(); it != german.cend(); ++it) {
        if (it.value().isEmpty() || it.key() == it.value())
            continue; // texts that are their own key, such as the list markers
        const QString other = keyOfText.value(it.value());
        QVERIFY2(other.isEmpty() || sameConcept(other, it.key()),
                 qPrintable(QStringLiteral("\"%1\" names both %2 and %3").arg(it.value(), other, it.key())));
        keyOfText.insert(it.value(), it.key());
    }
    // The completed badge and the completed section say the same word.
    QCOMPARE(german.value(QStringLiteral("dashboard.badge.completed")),
             german.value(QStringLiteral("dashboard.section.completed")));
}

QTEST_GUILESS_MAIN(TestLocalization)
#include "tst_localization.moc"
