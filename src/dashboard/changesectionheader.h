#pragma once

#include "ui/dynamiccolor.h"

#include <QAbstractButton>

namespace kestrune {

// The header of a change section: an accent bar, the tracked title, the count on a pill and a
// chevron at the far end that points down while the section is open. The whole rectangle is one
// button, the empty middle included.
class ChangeSectionHeader : public QAbstractButton
{
    Q_OBJECT

public:
    ChangeSectionHeader(const QString &title, DynamicColor accent, QWidget *parent = nullptr);

    void setCount(qint64 count);
    qint64 count() const { return m_count; }
    // The count as the pill shows it.
    QString countText() const;
    void setExpanded(bool expanded);
    bool isExpanded() const { return m_expanded; }
    // The symbol of the chevron: "chevron.down" while expanded, "chevron.right" otherwise.
    QString chevronSymbol() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF pillSize() const;

    DynamicColor m_accent;
    qint64 m_count = 0;
    bool m_expanded = true;
};

} // namespace kestrune
