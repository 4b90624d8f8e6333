#include "app/splitview.h"

#include "app/splitviewhandle.h"

namespace kestrune {

SplitView::SplitView(QWidget *parent) : QSplitter(Qt::Horizontal, parent)
{
    setHandleWidth(1);
    setChildrenCollapsible(false);
    setOpaqueResize(true);
}

QSplitterHandle *SplitView::createHandle()
{
    return new SplitViewHandle(orientation(), this);
}

} // namespace kestrune
