#pragma once

#include <QSplitterHandle>

namespace kestrune {

// The divider of a SplitView: a hairline drawn in the middle of its grab area.
class SplitViewHandle : public QSplitterHandle
{
    Q_OBJECT

public:
    SplitViewHandle(Qt::Orientation orientation, QSplitter *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kestrune
