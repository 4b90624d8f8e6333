#pragma once

#include "review/capabilityreview.h"

#include <QWidget>

class QLabel;
class QToolButton;

namespace kestrune {

class DeltaBadge;
class FittedMarkdownView;

// One requirement of a change under review, as a card: its name and kind badge, what looks
// wrong with it in the warning colour (with the closest existing name for a likely typo), and its
// text rendered with the words the change inserts underlined and those it deletes struck through.
// A removed requirement shows the current text struck through and, beneath, the reason given.
// Where the project has a history, a "History" button asks for the commits that altered the
// requirement in its specification.
class RequirementCard : public QWidget
{
    Q_OBJECT

public:
    explicit RequirementCard(const RequirementReview &requirement, QWidget *parent = nullptr);

    const RequirementReview &requirement() const { return m_requirement; }
    // Whether the card shows any inserted or deleted text.
    bool hasDifferences() const;
    // Whether a requirement calls for the reviewer's look: text inserted or deleted, a flag, or
    // a state other than pending.
    static bool isNotable(const RequirementReview &requirement);
    // The flags and state as the card words them, one line each.
    QStringList findingTexts() const;
    FittedMarkdownView *textView() const { return m_text; }
    // Shows the "History" button (hidden by default).
    void setHistoryShown(bool shown);
    QToolButton *historyButton() const { return m_history; }

Q_SIGNALS:
    void historyRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    RequirementReview m_requirement;
    QLabel *m_name = nullptr;
    DeltaBadge *m_badge = nullptr;
    QLabel *m_findings = nullptr;
    FittedMarkdownView *m_text = nullptr;
    FittedMarkdownView *m_note = nullptr;
    QToolButton *m_history = nullptr;
};

} // namespace kestrune
