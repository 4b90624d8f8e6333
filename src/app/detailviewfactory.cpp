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
    auto *view = new MarkdownPreviewView(input.fileURL, input.deltaType, parent);
    view->setProjectFolder(input.projectFolder);
    view->setLoadsRemoteImages(input.loadsRemoteImages);
    view->setFile(input.fileURL, input.deltaType, input.linksOutsideProject);
    return view;
}

void DetailViewFactory::updateMarkdownPreview(QWidget *preview, const MarkdownPreviewInput &input) const
{
    if (auto *view = qobject_cast<MarkdownPreviewView *>(preview)) {
        view->setProjectFolder(input.projectFolder);
        view->setLoadsRemoteImages(input.loadsRemoteImages);
        view->setFile(input.fileURL, input.deltaType, input.linksOutsideProject);
    }
}

} // namespace kestrune
