#pragma once

#include "ui/systemfont.h"

#include <QFont>
#include <QString>

#include <optional>

namespace kestrune {

// The engine's description of a font, carried through inline rendering as one attribute and
// turned into a QFont only when text is laid out (resolveFont).
struct FontProperties
{
    struct Family
    {
        enum class Kind
        {
            system,
            custom
        };
        Kind kind = Kind::system;
        SystemFont::Design design = SystemFont::Design::standard; // for `system`
        QString name;                                             // for `custom`

        static Family system(SystemFont::Design design = SystemFont::Design::standard)
        {
            return {Kind::system, design, {}};
        }
        static Family custom(const QString &name)
        {
            return {Kind::custom, SystemFont::Design::standard, name};
        }

        friend bool operator==(const Family &, const Family &) = default;
    };

    enum class FamilyVariant
    {
        normal,
        monospaced
    };
    enum class CapsVariant
    {
        normal,
        smallCaps,
        lowercaseSmallCaps,
        uppercaseSmallCaps
    };
    enum class DigitVariant
    {
        normal,
        monospaced
    };
    enum class Style
    {
        normal,
        italic
    };

    static constexpr qreal defaultSize = 13;

    Family family;
    FamilyVariant familyVariant = FamilyVariant::normal;
    CapsVariant capsVariant = CapsVariant::normal;
    DigitVariant digitVariant = DigitVariant::normal;
    Style style = Style::normal;
    QFont::Weight weight = QFont::Normal;
    std::optional<int> widthStorage; // a QFont::Stretch value
    qreal size = defaultSize;
    qreal scale = 1;

    // size × scale rounded to the nearest whole point, halves away from zero.
    int scaledSize() const;
    // The font these properties describe, at scaledSize() pixels.
    QFont resolveFont() const;

    friend bool operator==(const FontProperties &, const FontProperties &) = default;
};

size_t qHash(const FontProperties &properties, size_t seed = 0) noexcept;

} // namespace kestrune
