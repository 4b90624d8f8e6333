#pragma once

#include "review/capabilityreview.h"
#include "review/specificationmerge.h"

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;

namespace kestrune {

// The current specification of a capability as it will read once a change is applied (nothing is
// written): MODIFIED requirements replaced where they stand, REMOVED ones taken out, ADDED ones
// appended. Every requirement the change touches has a mark in the left margin in the colour of
// its delta kind, and a removed one leaves a line saying so where it stood.
class SpecificationResultView : public QWidget
{
    Q_OBJECT

public:
    SpecificationResultView(const QString &changeName, const CapabilityReview &capability,
                            QWidget *parent = nullptr);

    const SpecificationMerge &merge() const { return m_merge; }
    QString capability() const { return m_capability; }
    QScrollArea *scrollArea() const { return m_scrollArea; }
    QPushButton *backButton() const { return m_back; }
    // The pieces the text is shown in, top to bottom; those the change touched carry the kind as
    // the "deltaKind" property.
    QList<QWidget *> pieces() const { return m_pieces; }

Q_SIGNALS:
    void backRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_capability;
    SpecificationMerge m_merge;
    QLabel *m_title = nullptr;
    QPushButton *m_back = nullptr;
    QScrollArea *m_scrollArea = nullptr;
    QList<QWidget *> m_pieces;
};

} // namespace kestrune
