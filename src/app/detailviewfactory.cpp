#include "app/detailviewfactory.h"

#include "dashboard/dashboardview.h"
#include "preview/markdownpreviewview.h"

namespace kestrune {

QWidget *DetailViewFactory::createDashboard(const DashboardInput &input, QWidget *parent) const
{
    return new DashboardView(input, parent);
}

void DetailViewFactory::updateDashboard(QWidget *dashboard, const DashboardInput &input) const
{
    if (auto *view = qobject_cast<DashboardView *>(dashboard))
        view->setInput(input);
}

QWidget *DetailViewFactory::createMarkdownPreview(const MarkdownPreviewInput &input, QWidget *parent) const
{
    return new MarkdownPreviewView(input.fileURL, input.deltaType, parent);
}

void DetailViewFactory::updateMarkdownPreview(QWidget *preview, const MarkdownPreviewInput &input) const
{
    if (auto *view = qobject_cast<MarkdownPreviewView *>(preview))
        view->setFile(input.fileURL, input.deltaType);
}

} // namespace kestrune
