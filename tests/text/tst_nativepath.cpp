// Paths as bytes and back: any byte string survives the trip through the model's QString paths,
// names holding the code points reserved for undecodable bytes included, and the display name
// shows each undecodable byte as U+FFFD.
#include "text/nativepath.h"

#include <QRandomGenerator>
#include <QTest>
#include <QUrl>

using namespace kestrune;

namespace {

// Random pieces of a name: any byte, ASCII, well-formed sequences of every length, the encoded
// reserved code points and the lead bytes that begin a sequence without ending it.
QByteArray randomName(QRandomGenerator &random)
{
    static const QList<QByteArray> pieces = {"a",
                                             "/",
                                             ".md",
                                             "\xc3\xa9",
                                             "\xe2\x82\xac",
                                             "\xf0\x9f\x98\x80",
                                             "\xef\x9e\x80",
                                             "\xef\x9f\xbf",
                                             "\xef\x9d\xbf",
                                             "\xef\xa0\x80",
                                             "\xe2\x82",
                                             "\xf0\x9f",
                                             "\xc0\xaf",
                                             "\xed\xa0\x80",
                                             "\xf4\x90\x80\x80"};
    QByteArray name;
    const int length = random.bounded(24);
    for (int i = 0; i < length; ++i) {
        if (random.bounded(2) == 0)
            name += char(random.bounded(256));
        else
            name += pieces.at(random.bounded(int(pieces.size())));
    }
    return name;
}

} // namespace

class NativePathTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anyBytesRoundTrip()
    {
        QRandomGenerator random(20250601);
        for (int round = 0; round < 5000; ++round) {
            const QByteArray bytes = randomName(random);
            const QString path = NativePath::decode(bytes);
            QCOMPARE(NativePath::encode(path), bytes);
            QCOMPARE(NativePath::decode(NativePath::encode(path)), path);
            if (QString::fromUtf8(bytes).toUtf8() == bytes && !bytes.contains("\xef\x9e") &&
                !bytes.contains("\xef\x9f"))
                QCOMPARE(path, QString::fromUtf8(bytes)); // valid UTF-8 decodes as usual
        }
    }

    void undecodableBytesAndReservedCodePoints()
    {
        QCOMPARE(NativePath::decode("chg\xff"), QStringLiteral("chg\uF7FF"));
        QCOMPARE(NativePath::encode(u"chg\uF7FF"), QByteArray("chg\xff"));
        QCOMPARE(NativePath::decode("caf\xc3\xa9 \xf0\x9f\x98\x80"), QStringLiteral("caf\u00E9 \U0001F600"));

        // A name really holding a reserved code point round-trips and is shown as itself.
        for (char32_t codePoint : {0xF77Fu, 0xF780u, 0xF7ABu, 0xF7FFu, 0xF800u}) {
            const QString name =
                QStringLiteral("x") + QString::fromUcs4(&codePoint, 1) + QStringLiteral(".md");
            const QByteArray bytes = name.toUtf8();
            const QString path = NativePath::decode(bytes);
            QCOMPARE(NativePath::encode(path), bytes);
            QCOMPARE(NativePath::displayName(path), name);
        }
        const QString escapedByte = NativePath::decode("\xab");
        QCOMPARE(NativePath::encode(escapedByte + NativePath::decode("\xef\x9e\xab")),
                 QByteArray("\xab\xef\x9e\xab"));
    }

    void displayNames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::addRow("valid") << QByteArray("caf\xc3\xa9.md") << QStringLiteral("caf\u00E9.md");
        QTest::addRow("two stray bytes")
            << QByteArray("bad\xff\xfe.md") << QStringLiteral("bad\uFFFD\uFFFD.md");
        QTest::addRow("cut-off sequence") << QByteArray("a\xe2\x82") << QStringLiteral("a\uFFFD\uFFFD");
        QTest::addRow("overlong slash") << QByteArray("\xc0\xaf") << QStringLiteral("\uFFFD\uFFFD");
        QTest::addRow("surrogate") << QByteArray("\xed\xa0\x80") << QStringLiteral("\uFFFD\uFFFD\uFFFD");
        QTest::addRow("beyond U+10FFFF")
            << QByteArray("\xf4\x90\x80\x80") << QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD");
        QTest::addRow("reserved code point") << QByteArray("\xef\x9f\xbf") << QStringLiteral("\uF7FF");
    }

    void displayNames()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(NativePath::displayName(NativePath::decode(bytes)), expected);
    }

    // Node URLs are built from these paths: the escapes must come back unchanged, also after
    // the URL has been written out as text.
    void urlsCarryEscapedPaths()
    {
        const QString path = NativePath::decode("/tmp/chg\xff/bad\xff\xfe \xef\x9f\xbf%41.md");
        const QUrl url = QUrl::fromLocalFile(path);
        QCOMPARE(url.toLocalFile(), path);
        QCOMPARE(QUrl(url.toString()).toLocalFile(), path);
        QCOMPARE(QUrl::fromEncoded(url.toEncoded()).toLocalFile(), path);
        QCOMPARE(NativePath::encode(url.toLocalFile()),
                 QByteArray("/tmp/chg\xff/bad\xff\xfe \xef\x9f\xbf%41.md"));
    }
};

QTEST_APPLESS_MAIN(NativePathTest)
#include "tst_nativepath.moc"
