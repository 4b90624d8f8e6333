#pragma once

#include "dashboard/dashboardinput.h"
#include "preview/markdownpreviewinput.h"

class QWidget;

namespace kestrune {

// Makes the two views the detail area shows for a project: its dashboard and the preview of a
// Markdown file. The detail area owns what it is given (the widget is parented to `parent`).
//
// A dashboard is created once when it comes on show and then kept while it stays there: a new
// summary or another project reaches it through updateDashboard, so its view-local state (the
// expanded sections) survives. When a preview, the loading indicator or the placeholder takes its
// place it is destroyed, and the next dashboard starts afresh. A preview works the same way: it
// is created when it replaces another view and then given each newly selected file through
// updateMarkdownPreview, so its view mode survives.
class DetailViewFactory
{
public:
    virtual ~DetailViewFactory() = default;

    virtual QWidget *createDashboard(const DashboardInput &input, QWidget *parent) const;
    virtual void updateDashboard(QWidget *dashboard, const DashboardInput &input) const;
    virtual QWidget *createMarkdownPreview(const MarkdownPreviewInput &input, QWidget *parent) const;
    virtual void updateMarkdownPreview(QWidget *preview, const MarkdownPreviewInput &input) const;
};

} // namespace kestrune
