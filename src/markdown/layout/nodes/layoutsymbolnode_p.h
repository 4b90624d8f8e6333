#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"

#include "ui/dynamiccolor.h"

#include <QFont>
#include <QString>

#include <optional>

namespace kestrune {

// A named symbol drawn like a glyph: `size` points square, in the text colour, centred on the
// middle of the lower-case letters of the text around it (`textXHeight`).
class LayoutSymbolNode : public LayoutNode
{
public:
    LayoutSymbolNode(const QString &name, int size, QFont::Weight weight, std::optional<DynamicColor> color,
                     qreal textXHeight);

    qreal firstBaseline() const override { return m_size / 2.0 + m_textXHeight / 2; }
    qreal minimumWidth() override { return m_size; }
    void paint(LayoutPaintContext &context) const override;

protected:
    QSizeF doLayout(qreal) override { return {qreal(m_size), qreal(m_size)}; }
    const char *kindName() const override { return "symbol"; }
    QString dumpDetails() const override { return m_name; }

private:
    QString m_name;
    int m_size;
    QFont::Weight m_weight;
    std::optional<DynamicColor> m_color;
    qreal m_textXHeight;
};

} // namespace kestrune
