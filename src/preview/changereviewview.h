#pragma once

#include "preview/changereviewinput.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace kestrune {

class CapabilitySection;
class RequirementCard;

// What a change does to the specifications, requirement by requirement: a header with the
// change's name and status and how many requirements it adds, modifies and removes, then one
// section per capability with a card per requirement. An archived change is compared with the
// specifications as they are now, and the header says so. A large change (over 40 requirements)
// opens its first capability only: every card renders its text.
//
// Where the project has a history, "Compare with" in the header offers the commits whose
// specifications the change can be reviewed against instead (setBaselineChoices); the page then
// says which commit it compares with, and each card has a "History" button.
//
// N and P (or F7 and Shift+F7) move to the next and previous card that shows a difference or a
// finding, opening its section. A new comparison of the same change (the files changed) keeps the
// open sections and the scroll position.
class ChangeReviewView : public QWidget
{
    Q_OBJECT

public:
    explicit ChangeReviewView(const ChangeReviewInput &input, QWidget *parent = nullptr);

    const ChangeReviewInput &input() const { return m_input; }
    void setInput(const ChangeReviewInput &input);

    QList<CapabilitySection *> sections() const { return m_sections; }
    QScrollArea *scrollArea() const { return m_scrollArea; }
    QLabel *titleLabel() const { return m_title; }
    QLabel *detailLabel() const { return m_detail; }
    // Says which commit's specifications the review compares with; hidden for those on disk.
    QLabel *baselineLabel() const { return m_baselineNote; }
    QComboBox *baselineChoice() const { return m_baselineChoice; }

    // The earlier commits to compare with, newest first; none hides "Compare with" and the
    // requirements' "History" (the project has no history).
    void setBaselineChoices(const QList<ReviewBaseline> &choices);
    const QList<ReviewBaseline> &baselineChoices() const { return m_baselineChoices; }

    // Moves to the next (or previous) card with a difference or a finding; false when there is
    // none in that direction.
    bool showNextDifference();
    bool showPreviousDifference();
    // The card last moved to with those, or with the focus.
    RequirementCard *currentCard() const;

Q_SIGNALS:
    void showResultRequested(const QString &capability);
    // "Compare with": the commit chosen, empty for the specifications on disk.
    void baselineRequested(const QString &commit);
    // A card's "History": the requirement's history in its specification (a file on disk, or
    // where the baseline's commit held it), shown next to `anchor`.
    void requirementHistoryRequested(const QUrl &specification, const QString &requirement, QWidget *anchor);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuild();
    void fillBaselineChoice();
    void showBaselineNote(const std::optional<ReviewBaseline> &baseline, bool comparing);
    void applyColors();
    bool showDifference(int step);
    // The cards that call for a look, in page order; closed sections holding any are opened.
    QList<RequirementCard *> openNotableCards();

    ChangeReviewInput m_input;
    QLabel *m_title = nullptr;
    QLabel *m_detail = nullptr;
    QLabel *m_compareLabel = nullptr;
    QComboBox *m_baselineChoice = nullptr;
    QLabel *m_baselineNote = nullptr;
    QList<ReviewBaseline> m_baselineChoices;
    QScrollArea *m_scrollArea = nullptr;
    QWidget *m_page = nullptr;
    QVBoxLayout *m_pageLayout = nullptr;
    QList<CapabilitySection *> m_sections;
    QHash<QString, bool> m_expanded; // by capability, as the reader left them
    QPointer<RequirementCard> m_current;
    QString m_currentCapability;
    QString m_currentRequirement;
};

} // namespace kestrune
