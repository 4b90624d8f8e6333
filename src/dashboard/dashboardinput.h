#pragma once

#include "project/projectsummary.h"

#include <QString>
#include <QUrl>

namespace kestrune {

// What the dashboard of a project is made from.
struct DashboardInput
{
    QString projectName; // the last path component of the project folder
    ProjectSummary summary;
    QUrl projectRoot;
};

} // namespace kestrune
