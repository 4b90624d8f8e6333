#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace kestrune {

// Names that a card had to cut short are shown in full as the card's tooltip; names shown whole
// get no tooltip at all. Made a child of the card, it answers the card's tooltip events itself, so
// the card only says, each time it draws the name, whether it had to cut it short.
class ElisionToolTip : public QObject
{
    Q_OBJECT

public:
    explicit ElisionToolTip(QWidget *card);

    // The text the card drew: whole, and whether it was elided.
    void setShownText(const QString &fullText, bool elided);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_card;
    QString m_fullText;
    bool m_elided = false;
};

} // namespace kestrune
