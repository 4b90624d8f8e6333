#include "app/splitviewhandle.h"

#include "app/shellcolors.h"

#include <QPainter>

namespace kestrune {

SplitViewHandle::SplitViewHandle(Qt::Orientation orientation, QSplitter *parent)
    : QSplitterHandle(orientation, parent)
{}

void SplitViewHandle::paintEvent(QPaintEvent *)
{
    // The splitter widens a thin handle's grab area with margins; the line is the content.
    QPainter painter(this);
    painter.fillRect(contentsRect(), ShellColors::hairline.resolve(palette()));
}

} // namespace kestrune
