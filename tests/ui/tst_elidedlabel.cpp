#include "ui/appearance.h"
#include "ui/dynamiccolor.h"
#include "ui/elidedlabel.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QImage>
#include <QTest>

using namespace kestrune;

namespace {

constexpr DynamicColor ink = dynamicColor(1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f);

// Letter spacing makes the advances fractional, which is where a rounded width cuts text short.
QFont trackedFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(13);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.37);
    return font;
}

} // namespace

class TestElidedLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeTextFitsItsOwnSizeHint();
    void narrowerLabelElidesWhereItIsTold();
    void toolTipShowsTheTextOnlyWhenAsked();
    void paintsInTheColourOfTheAppearance();
};

void TestElidedLabel::wholeTextFitsItsOwnSizeHint()
{
    for (const QString &text : {QStringLiteral("specifications"), QStringLiteral("add-note-history"),
                                QStringLiteral("Wide WWW and narrow iii letters")}) {
        ElidedLabel label(text, trackedFont(), ink);
        label.resize(label.sizeHint());
        QCOMPARE(label.displayedText(), text);
    }
}

void TestElidedLabel::narrowerLabelElidesWhereItIsTold()
{
    const QString text = QStringLiteral("/home/reader/projects/lantern/kestrune/specs/notes/spec.md");
    ElidedLabel label(text, trackedFont(), ink);
    label.resize(label.sizeHint().width() / 2, label.sizeHint().height());

    const QString endElided = label.displayedText();
    QVERIFY(endElided.endsWith(QChar(0x2026)));
    QVERIFY(text.startsWith(endElided.chopped(1)));

    label.setElideMode(Qt::ElideMiddle);
    const QString middleElided = label.displayedText();
    const qsizetype ellipsis = middleElided.indexOf(QChar(0x2026));
    QVERIFY(ellipsis > 0 && ellipsis < middleElided.size() - 1);
    QVERIFY(text.startsWith(middleElided.left(ellipsis)));
    QVERIFY(text.endsWith(middleElided.mid(ellipsis + 1)));

    QCOMPARE(label.minimumSizeHint().width(), 0);
    QCOMPARE(label.accessibleName(), text);
}

void TestElidedLabel::toolTipShowsTheTextOnlyWhenAsked()
{
    ElidedLabel label(QStringLiteral("first"), trackedFont(), ink);
    label.setText(QStringLiteral("second"));
    QVERIFY(label.toolTip().isEmpty());

    label.setToolTipShowsText(true);
    QCOMPARE(label.toolTip(), QStringLiteral("second"));
    label.setText(QStringLiteral("third"));
    QCOMPARE(label.toolTip(), QStringLiteral("third"));

    label.setToolTipShowsText(false);
    QVERIFY(label.toolTip().isEmpty());
}

void TestElidedLabel::paintsInTheColourOfTheAppearance()
{
    QFont font = trackedFont();
    font.setPixelSize(40);
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        ElidedLabel label(QStringLiteral("MMMM"), font, ink);
        label.setPalette(ThemeController::paletteFor(appearance));
        label.resize(label.sizeHint());
        QImage image(label.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        label.render(&image, {}, {}, QWidget::DrawChildren);

        const QColor expected = appearance == Appearance::light ? QColor(Qt::blue) : QColor(Qt::red);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                inked += image.pixelColor(x, y) == expected;
        }
        QVERIFY2(inked > 50, qPrintable(QStringLiteral("%1 pixels of full ink").arg(inked)));
    }
}

QTEST_MAIN(TestElidedLabel)
#include "tst_elidedlabel.moc"
