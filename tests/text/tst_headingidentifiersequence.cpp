#include "text/headingidentifiersequence.h"

#include <QTest>

using namespace kestrune;

class HeadingIdentifierSequenceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numbersRepeatedIdentifiers_data();
    void numbersRepeatedIdentifiers();
};

void HeadingIdentifierSequenceTest::numbersRepeatedIdentifiers_data()
{
    QTest::addColumn<QStringList>("identifiers");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("distinct ones stay as they are") << QStringList({"a", "b"}) << QStringList({"a", "b"});
    QTest::addRow("the first keeps it, the next get -1 and -2")
        << QStringList({"login", "intro", "login", "login"})
        << QStringList({"login", "intro", "login-1", "login-2"});
    QTest::addRow("past an identifier already given")
        << QStringList({"a", "a", "a-1", "a-1"}) << QStringList({"a", "a-1", "a-1-1", "a-1-2"});
    QTest::addRow("a heading named like a suffix comes first")
        << QStringList({"a-1", "a", "a"}) << QStringList({"a-1", "a", "a-2"});
    QTest::addRow("empty identifiers count for nothing")
        << QStringList({"", "a", "", "a"}) << QStringList({"", "a", "", "a-1"});
}

void HeadingIdentifierSequenceTest::numbersRepeatedIdentifiers()
{
    QFETCH(QStringList, identifiers);
    QFETCH(QStringList, expected);
    HeadingIdentifierSequence sequence;
    QStringList given;
    for (const QString &identifier : identifiers)
        given.append(sequence.next(identifier));
    QCOMPARE(given, expected);
}

QTEST_APPLESS_MAIN(HeadingIdentifierSequenceTest)
#include "tst_headingidentifiersequence.moc"
