#include "highlight/codehighlighter.h"

#include <QTest>

using namespace kestrune;

class CodeHighlighterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(CodeHighlighterTest)
#include "tst_codehighlighter.moc"
