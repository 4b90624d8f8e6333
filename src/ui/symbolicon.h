#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QStringView>

class QPainter;

namespace kestrune {

// The named symbols the views draw ("folder.fill", "doc.text", "chevron.down", ...), each one an
// SVG icon from the program's resources, tinted with one colour. A symbol "in the system font at
// N points" is drawn N pixels square; heavier weights draw thicker strokes.
//
//     SymbolIcon::paint(&painter, iconRect, u"doc.text", colors.icon.resolve(palette()));
class SymbolIcon
{
public:
    SymbolIcon() = delete;

    // Whether a symbol of that name exists.
    static bool exists(QStringView name);

    // The symbol tinted with the colour, size × size device-independent pixels. A null pixmap
    // for an unknown name.
    static QPixmap pixmap(QStringView name, int size, const QColor &color,
                          QFont::Weight weight = QFont::Normal, qreal devicePixelRatio = 1.0);
    // The same as an image, rendered anew: usable on any thread, where pixmaps are not.
    static QImage image(QStringView name, int size, const QColor &color, QFont::Weight weight = QFont::Normal,
                        qreal devicePixelRatio = 1.0);
    // Draws the symbol centred in the rectangle, as large as its shorter side (at most `size`
    // when given).
    static void paint(QPainter *painter, const QRectF &rect, QStringView name, const QColor &color,
                      QFont::Weight weight = QFont::Normal, int size = 0);
    // An icon for buttons and menus, in the given colour.
    static QIcon icon(QStringView name, const QColor &color, int size = 16,
                      QFont::Weight weight = QFont::Normal);

    // How many pixmaps have been drawn anew because the window's thread asked for a symbol not
    // in the cache (each SVG parse and render a first paint pays for).
    static quint64 cacheMisses();
};

} // namespace kestrune
