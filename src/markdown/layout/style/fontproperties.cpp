#include "markdown/layout/style/fontproperties.h"

#include <QFontDatabase>
#include <QHash>

#include <cmath>

namespace kestrune {

using ::qHash; // the overloads below would hide those of Qt and of the built-in types

int FontProperties::scaledSize() const
{
    return int(std::round(size * scale));
}

QFont FontProperties::resolveFont() const
{
    const int pixelSize = std::max(1, scaledSize());
    QFont font;
    if (family.kind == Family::Kind::custom) {
        font = QFont(family.name);
        font.setPixelSize(pixelSize);
    } else {
        font = SystemFont::font(pixelSize, QFont::Normal, family.design);
    }

    if (familyVariant == FamilyVariant::monospaced) {
        if (family.kind == Family::Kind::system) {
            const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            font.setFamilies(fixed.families().isEmpty() ? QStringList{fixed.family()} : fixed.families());
        }
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    }

    // Qt has one small-capitals mode: lower-case letters drawn as small capitals. It stands in
    // for all three variants; upper-case letters keep their full height.
    if (capsVariant != CapsVariant::normal)
        font.setCapitalization(QFont::SmallCaps);

    // Monospaced digits: the system UI fonts draw tabular figures by default, and Qt offers no
    // switch for the feature, so nothing to do.

    if (weight != QFont::Normal)
        font.setWeight(weight);
    if (widthStorage && *widthStorage != QFont::Unstretched)
        font.setStretch(*widthStorage);
    if (style == Style::italic)
        font.setItalic(true);
    return font;
}

size_t qHash(const FontProperties &p, size_t seed) noexcept
{
    return qHashMulti(seed, int(p.family.kind), int(p.family.design), p.family.name, int(p.familyVariant),
                      int(p.capsVariant), int(p.digitVariant), int(p.style), int(p.weight),
                      p.widthStorage.value_or(-1), p.size, p.scale);
}

} // namespace kestrune
