#include "sincereport.h"

#include "projectreport.h"

#include <QDate>
#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace kestrune {

namespace {

struct ModifiedFile
{
    QString path;
    QDateTime modified;
    PlanningPath planningPath;
};

void collectModifiedAfter(const QUrl &root, const TreeNode &node, const QDateTime &since,
                          std::vector<ModifiedFile> &into)
{
    if (node.children) {
        for (const TreeNode &child : *node.children)
            collectModifiedAfter(root, child, since, into);
        return;
    }
    if (!node.modificationDate || *node.modificationDate <= since)
        return;
    std::optional<PlanningPath> path = PlanningPath::inPlanningFolder(root, node.url, false);
    if (path)
        into.push_back({node.url.toLocalFile(), *node.modificationDate, std::move(*path)});
}

} // namespace

std::optional<QDateTime> SinceReport::parseMoment(const QString &text)
{
    // Qt's own reading of ISO 8601 is lenient about what follows the time (it skips spaces and
    // takes a lone hour as an offset), so the shape is checked first.
    static const QRegularExpression shape(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}"
                       "(T\\d{2}:\\d{2}(:\\d{2}([.,]\\d{1,9})?)?(Z|[+-]\\d{2}(:?\\d{2})?)?)?$"));
    if (!shape.match(text).hasMatch())
        return std::nullopt;
    if (text.size() == 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (!date.isValid())
            return std::nullopt;
        return date.startOfDay();
    }
    const QDateTime moment = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!moment.isValid())
        return std::nullopt;
    return moment;
}

QString SinceReport::kindName(const PlanningPath &path)
{
    switch (path.kind) {
    case PlanningPath::Kind::specification:
    case PlanningPath::Kind::specificationText:
        return QStringLiteral("specification");
    case PlanningPath::Kind::deltaSpecification:
        return QStringLiteral("deltaSpecification");
    case PlanningPath::Kind::changeFolder:
        break;
    case PlanningPath::Kind::other:
        if (path.change.isEmpty())
            break;
        // The documents the change analysis looks for, directly in the change folder.
        for (const char *name : {"proposal", "design", "tasks"}) {
            if (path.relativePath ==
                path.changeFolderPath + QLatin1Char('/') + QLatin1String(name) + QLatin1String(".md"))
                return QLatin1String(name);
        }
        break;
    }
    return QStringLiteral("other");
}

QJsonObject SinceReport::filesModifiedAfter(const TreeNode &tree, const QDateTime &since)
{
    std::vector<ModifiedFile> files;
    collectModifiedAfter(tree.url, tree, since, files);
    std::sort(files.begin(), files.end(), [](const ModifiedFile &a, const ModifiedFile &b) {
        return a.modified != b.modified ? a.modified > b.modified : a.path < b.path;
    });
    QJsonArray array;
    for (const ModifiedFile &file : files) {
        const PlanningPath &path = file.planningPath;
        array.append(QJsonObject{
            {QStringLiteral("path"), file.path},
            {QStringLiteral("modificationDate"), ProjectReport::isoDate(file.modified)},
            {QStringLiteral("kind"), kindName(path)},
            {QStringLiteral("change"), path.change.isEmpty() ? QJsonValue(QJsonValue::Null) : path.change},
            {QStringLiteral("archived"), path.isArchived},
        });
    }
    return QJsonObject{{QStringLiteral("since"), ProjectReport::isoDate(since)},
                       {QStringLiteral("files"), array}};
}

} // namespace kestrune
