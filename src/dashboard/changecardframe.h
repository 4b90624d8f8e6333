#pragma once

#include "ui/dynamiccolor.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QFont;
class QKeyEvent;
class QPainter;
class QWidget;

namespace kestrune {

class ElisionToolTip;
class StatusBadge;

// What the change cards and rows share: a rounded surface, outlined solid or dashed, inside which
// the content is padded; their size hints; the hover tint; the focus ring of those that take focus;
// the change's name, elided to its room, shown whole as the tooltip when it was cut short; the
// header row of the active and draft cards; and what a screen reader says of the card. Each card
// keeps one and draws its own content into the rectangle the frame gives it.
class ChangeCardFrame
{
public:
    struct Surface
    {
        DynamicColor fill;
        DynamicColor outline;
        QList<qreal> dashPattern; // empty for a solid outline, else in points: drawn, gap, ...
    };

    static constexpr qreal cornerRadius = 18;
    static constexpr int minimumContentWidth = 120;
    static constexpr int preferredWidth = 320;

    // Sets the card's size policy, puts the hover tint over it and answers its tooltip events: the
    // name, when it was cut short.
    ChangeCardFrame(QWidget *card, int paddingH, int paddingV, const Surface &surface);

    int paddingH() const { return m_paddingH; }
    int paddingV() const { return m_paddingV; }
    static constexpr QSize sizeHint(int height) { return {preferredWidth, height}; }
    QSize minimumSizeHint(int height) const { return {minimumWidth(m_paddingH), height}; }
    // The least width of a card with this padding.
    static constexpr int minimumWidth(int paddingH) { return 2 * paddingH + minimumContentWidth; }

    // Antialiasing on, the surface painted; returns the padded content rectangle.
    QRect paintSurface(QPainter &painter) const;
    // The focus ring, when the card has focus.
    void paintFocusRing(QPainter &painter) const;
    // The name at the left of `rect`, vertically centred, elided at its end when it does not fit.
    void paintName(QPainter &painter, const QString &name, const QFont &font, DynamicColor color,
                   const QRect &rect);
    // The header row of the active and draft cards, at the top of their content: a leading mark
    // `markSize` square, the name in `nameFont` and the status badge at the right, each centred
    // vertically in the row. headerHeight() is the row's height; paintHeader() paints the badge and
    // the name (in the primary text colour, elided to the room between the mark and the badge) and
    // returns the square where the card draws its own mark.
    static int headerHeight(const QFont &nameFont, int markSize);
    QRectF paintHeader(QPainter &painter, const QRect &content, const StatusBadge &badge, const QString &name,
                       const QFont &nameFont, int markSize);

    // The card's accessible name: everything it shows, in reading order ("add-login, Active,
    // Tasks 40%"), the empty parts left out.
    static QString accessibleText(const QStringList &parts);
    // Enter (Space is the button's own key) activates a focused card.
    static bool isActivationKey(const QKeyEvent *event);

private:
    QWidget *m_card;
    int m_paddingH;
    int m_paddingV;
    Surface m_surface;
    ElisionToolTip *m_nameToolTip; // a child of the card
};

} // namespace kestrune
