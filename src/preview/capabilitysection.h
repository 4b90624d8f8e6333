#pragma once

#include "review/capabilityreview.h"

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QToolButton;

namespace kestrune {

class RequirementCard;

// One capability of a change under review: a header that opens and closes the section (its
// name, "+N added, ~N modified, −N removed", a note when it could not be compared, and a button
// to see the specification as it will read), and a card for each requirement of its delta
// specification. Cards are made only while the section is open; a large review opens its first
// section only.
class CapabilitySection : public QWidget
{
    Q_OBJECT

public:
    CapabilitySection(const CapabilityReview &capability, QWidget *parent = nullptr, bool expanded = true);

    const CapabilityReview &capability() const { return m_capability; }
    bool isExpanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    // The cards on show, in the order of the delta specification; none while closed.
    const QList<RequirementCard *> &cards() const { return m_cards; }
    QToolButton *toggleButton() const { return m_toggle; }
    QPushButton *resultButton() const { return m_result; }
    // Gives every card a "History" button, on a specification the project's history holds.
    void setHistoryShown(bool shown);

    // "+2 added, ~1 modified, −0 removed requirements".
    static QString countsText(const ReviewCounts &counts);

Q_SIGNALS:
    void expandedChanged(bool expanded);
    void showResultRequested(const QString &capability);
    // A card's "History": the requirement's history in the capability's specification.
    void historyRequested(const QString &requirement, QWidget *anchor);

private:
    void buildCards();

    CapabilityReview m_capability;
    bool m_expanded = true;
    bool m_historyShown = false;
    QToolButton *m_toggle = nullptr;
    QLabel *m_counts = nullptr;
    QPushButton *m_result = nullptr;
    QWidget *m_body = nullptr;
    QList<RequirementCard *> m_cards;
};

} // namespace kestrune
