// Symbols drawn into a painter: as sharp on a page drawn larger as one drawn at that size.
#include "ui/symbolicon.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace kestrune;

namespace {

QImage drawn(qreal scale, int side)
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    SymbolIcon::paint(&painter, QRectF(0, 0, side, side), u"circle.fill", Qt::black);
    return image;
}

} // namespace

class TestSymbolIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scaledPainterGetsAPixmapForItsPixels()
    {
        const QImage scaled = drawn(4, 16);
        const QImage direct = drawn(1, 64);
        int differing = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                if (std::abs(qGray(scaled.pixel(x, y)) - qGray(direct.pixel(x, y))) > 48)
                    ++differing;
            }
        }
        // An enlarged 16-pixel bitmap differs all round the circle's edge (a few hundred pixels).
        QVERIFY2(differing < 40, qPrintable(QString::number(differing)));
    }

    // A symbol is drawn anew once for each size, colour, weight and pixel ratio; every later
    // request is served from the cache, painted or as a pixmap.
    void cacheMissesCountOnlyNewRenderings()
    {
        const quint64 before = SymbolIcon::cacheMisses();
        const QPixmap first = SymbolIcon::pixmap(u"clock", 17, QColor(10, 20, 30));
        QCOMPARE(SymbolIcon::cacheMisses(), before + 1);
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        SymbolIcon::paint(&painter, QRectF(0, 0, 17, 17), u"clock", QColor(10, 20, 30));
        QCOMPARE(SymbolIcon::pixmap(u"clock", 17, QColor(10, 20, 30)).cacheKey(), first.cacheKey());
        QCOMPARE(SymbolIcon::cacheMisses(), before + 1);

        SymbolIcon::pixmap(u"clock", 17, QColor(10, 20, 31));
        SymbolIcon::pixmap(u"clock", 18, QColor(10, 20, 30));
        SymbolIcon::pixmap(u"clock", 17, QColor(10, 20, 30), QFont::Bold);
        SymbolIcon::pixmap(u"clock", 17, QColor(10, 20, 30), QFont::Normal, 2.0);
        QCOMPARE(SymbolIcon::cacheMisses(), before + 5);
        // Unknown names and images rendered for other threads are no misses.
        SymbolIcon::pixmap(u"no.such.symbol", 17, Qt::black);
        SymbolIcon::image(u"clock", 19, Qt::black);
        QCOMPARE(SymbolIcon::cacheMisses(), before + 5);
    }

    // The marks of the five alert kinds each draw a shape of their own, in the colour asked for.
    void calloutSymbolsDrawDistinctMarks()
    {
        const QStringList names{QStringLiteral("callout.note"), QStringLiteral("callout.tip"),
                                QStringLiteral("callout.important"), QStringLiteral("callout.warning"),
                                QStringLiteral("callout.caution")};
        QList<QImage> images;
        for (const QString &name : names) {
            QVERIFY2(SymbolIcon::exists(name), qPrintable(name));
            const QImage image =
                SymbolIcon::image(name, 32, QColor(200, 0, 0)).convertToFormat(QImage::Format_ARGB32);
            int ink = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    if (pixel.alpha() > 128) {
                        QVERIFY(pixel.red() > 150 && pixel.green() < 60);
                        ++ink;
                    }
                }
            }
            QVERIFY2(ink > 60, qPrintable(name));
            for (const QImage &other : std::as_const(images))
                QVERIFY2(other != image, qPrintable(name));
            images.append(image);
        }
    }
};

QTEST_MAIN(TestSymbolIcon)
#include "tst_symbolicon.moc"
