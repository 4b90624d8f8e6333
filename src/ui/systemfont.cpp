#include "ui/systemfont.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <cmath>

namespace kestrune {

QFont SystemFont::font(qreal pixelSize, QFont::Weight weight, Design design)
{
    QFont font = design == Design::monospaced ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                              : QGuiApplication::font();
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    font.setWeight(weight);
    return font;
}

QFont SystemFont::defaultFont()
{
    return font(defaultPixelSize);
}

} // namespace kestrune
