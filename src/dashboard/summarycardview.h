#pragma once

#include <QString>
#include <QWidget>

class QVariantAnimation;

namespace kestrune {

// One of the four counters at the top of the dashboard: a title, a big value with an optional
// small text on its line, and a symbol in the top-trailing corner. When the pointer comes over
// it the card rises by 4 points, casts a shadow and tints its symbol, eased over 0.22 s; when the
// pointer leaves it settles back the same way. It has no click action and is no Tab stop: the
// sections below list what it counts. A screen reader reads it as a text saying all it shows
// ("Specifications, 12, 34 requirements").
//
// The widget is larger than the card by overhang() on every side: room for the lift and the
// shadow, so that neither is clipped and the neighbours never move.
class SummaryCardView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int cardHeight = 96;

    SummaryCardView(const QString &title, const QString &value, const QString &subtext, const QString &icon,
                    QWidget *parent = nullptr);
    ~SummaryCardView() override;

    static QMargins overhang();

    QString title() const { return m_title; }
    QString value() const { return m_value; }
    QString subtext() const { return m_subtext; }
    QString icon() const { return m_icon; }
    void setValue(const QString &value, const QString &subtext);

    // What the card says to assistive technologies: title, value and small text.
    QString accessibleText() const;

    bool isHovered() const { return m_hovered; }
    // How far the hover effects have gone, 0 at rest to 1 fully lifted.
    qreal liftProgress() const { return m_progress; }
    // The card's rectangle at rest, in the widget's coordinates.
    QRect cardRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setHovered(bool hovered);

    QString m_title;
    QString m_value;
    QString m_subtext;
    QString m_icon;
    bool m_hovered = false;
    qreal m_progress = 0;
    QVariantAnimation *m_animation = nullptr;
};

} // namespace kestrune
