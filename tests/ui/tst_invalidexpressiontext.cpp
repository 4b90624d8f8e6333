#include "ui/invalidexpressiontext.h"
#include "ui/localization.h"

#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

using namespace kestrune;

class TestInvalidExpressionText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void saysTheErrorInTheInterfaceLanguage_data();
    void saysTheErrorInTheInterfaceLanguage();
};

void TestInvalidExpressionText::cleanup()
{
    const auto translators = QCoreApplication::instance()->findChildren<QTranslator *>();
    for (QTranslator *translator : translators) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QLocale::setDefault(QLocale::c());
}

void TestInvalidExpressionText::saysTheErrorInTheInterfaceLanguage_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::addRow("unclosed group") << german << u"(abc"_qs
                                    << u"Ungültiger Ausdruck: „)“ fehlt an Position 5"_qs;
    QTest::addRow("unclosed class") << german << u"[ab"_qs
                                    << u"Ungültiger Ausdruck: „]“ fehlt an Position 4"_qs;
    QTest::addRow("closing parenthesis alone")
        << german << u"ab)"_qs << u"Ungültiger Ausdruck: „)“ ohne „(“ an Position 3"_qs;
    QTest::addRow("nothing to repeat")
        << german << u"*a"_qs << u"Ungültiger Ausdruck: nichts zu wiederholen an Position 1"_qs;
    QTest::addRow("backslash at the end") << german << u"ab\\"_qs << u"Ungültiger Ausdruck: „\\“ am Ende"_qs;
    QTest::addRow("range out of order")
        << german << u"[z-a]"_qs << u"Ungültiger Ausdruck: Bereich in falscher Reihenfolge an Position 4"_qs;
    QTest::addRow("positions count characters, not UTF-16 units")
        << german << u"😀(a"_qs << u"Ungültiger Ausdruck: „)“ fehlt an Position 4"_qs;
    QTest::addRow("any other error: its position")
        << german << u"(?<n>a)(?<n>b)"_qs << u"Ungültiger Ausdruck an Position 13"_qs;
    QTest::addRow("in English") << english << u"(abc"_qs
                                << u"Invalid expression: “)” missing at position 5"_qs;
}

void TestInvalidExpressionText::saysTheErrorInTheInterfaceLanguage()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    QLocale::setDefault(locale);
    Localization::install(QCoreApplication::instance(), locale);
    const SearchPattern pattern(expression, {.regularExpression = true});
    QVERIFY(!pattern.isValid());
    QCOMPARE(InvalidExpressionText::of(pattern), expected);
    QVERIFY(InvalidExpressionText::of(SearchPattern(u"(a)"_qs, {.regularExpression = true})).isEmpty());
}

QTEST_MAIN(TestInvalidExpressionText)
#include "tst_invalidexpressiontext.moc"
