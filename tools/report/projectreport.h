#pragma once

#include "project/projectsummary.h"
#include "project/treenode.h"

#include <QJsonObject>

namespace kestrune {

// JSON form of a scanned project: {"tree": NODE, "summary": SUMMARY}.
namespace ProjectReport {

QJsonObject treeToJson(const TreeNode &node);
QJsonObject summaryToJson(const ProjectSummary &summary);
QJsonObject reportToJson(const TreeNode &tree, const ProjectSummary &summary);

// ISO 8601 in UTC with milliseconds, e.g. "2025-03-03T10:00:00.000Z".
QString isoDate(const QDateTime &date);

} // namespace ProjectReport

} // namespace kestrune
