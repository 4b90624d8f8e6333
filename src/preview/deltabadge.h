#pragma once

#include "project/deltaspectype.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace kestrune {

// The marker of a delta specification in the preview's header: "ADDED", "MODIFIED" or
// "REMOVED" on a translucent green, orange or red rounded rectangle.
class DeltaBadge : public QWidget
{
    Q_OBJECT

public:
    explicit DeltaBadge(DeltaSpecType type, QWidget *parent = nullptr);

    DeltaSpecType type() const { return m_type; }
    void setType(DeltaSpecType type);
    // The badge's text; the same in every language.

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DeltaSpecType m_type;
    QFont m_font;
};

} // namespace kestrune
