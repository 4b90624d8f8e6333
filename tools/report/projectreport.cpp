#include "projectreport.h"

#include <QJsonArray>
#include <QJsonValue>

namespace kestrune {

namespace ProjectReport {
namespace {

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toLower();
}

QString localPath(const QUrl &url)
{
    QString path = url.toLocalFile();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

template <typename T> QJsonValue optionalValue(const std::optional<T> &value)
{
    if (!value)
        return QJsonValue::Null;
    return QJsonValue(*value);
}

QJsonValue optionalDate(const std::optional<QDateTime> &date)
{
    return date ? QJsonValue(isoDate(*date)) : QJsonValue(QJsonValue::Null);
}

template <typename Enum> QJsonValue optionalRaw(const std::optional<Enum> &value)
{
    return value ? QJsonValue(rawValue(*value)) : QJsonValue(QJsonValue::Null);
}

QString kindName(TreeNodeKind kind)
{
    switch (kind) {
    case TreeNodeKind::projectRoot:
        return QStringLiteral("projectRoot");
    case TreeNodeKind::kestrune:
        return QStringLiteral("kestrune");
    case TreeNodeKind::directory:
        return QStringLiteral("directory");
    case TreeNodeKind::markdownFile:
        return QStringLiteral("markdownFile");
    }
    return {};
}

QJsonObject changeItemToJson(const ChangeItem &item)
{
    return QJsonObject{
        {QStringLiteral("id"), uuidText(item.id)},
        {QStringLiteral("title"), item.title},
        {QStringLiteral("deltaType"), optionalRaw(item.deltaType)},
        {QStringLiteral("updatedAt"), optionalDate(item.updatedAt)},
        {QStringLiteral("isArchived"), item.isArchived},
        {QStringLiteral("module"), item.module ? QJsonValue(*item.module) : QJsonValue(QJsonValue::Null)},
    };
}

QJsonObject changeSummaryToJson(const ChangeSummary &change)
{
    return QJsonObject{
        {QStringLiteral("id"), uuidText(change.id)},
        {QStringLiteral("changeName"), change.changeName},
        {QStringLiteral("path"), localPath(change.changeDirectoryURL)},
        {QStringLiteral("status"), rawValue(change.status)},
        {QStringLiteral("workflowStage"), rawValue(change.workflowStage)},
        {QStringLiteral("currentDraftStage"), optionalRaw(change.currentDraftStage)},
        {QStringLiteral("hasProposal"), change.hasProposal},
        {QStringLiteral("hasDesign"), change.hasDesign},
        {QStringLiteral("hasSpecs"), change.hasSpecs},
        {QStringLiteral("hasTasks"), change.hasTasks},
        {QStringLiteral("taskProgressPercent"), change.taskProgressPercent},
        {QStringLiteral("completedAt"), optionalDate(change.completedAt)},
        {QStringLiteral("archivedAt"), optionalDate(change.archivedAt)},
    };
}

} // namespace

QString isoDate(const QDateTime &date)
{
    return date.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QJsonObject treeToJson(const TreeNode &node)
{
    QJsonValue children = QJsonValue::Null;
    if (node.children) {
        QJsonArray array;
        for (const TreeNode &child : *node.children)
            array.append(treeToJson(child));
        children = array;
    }
    return QJsonObject{
        {QStringLiteral("id"), uuidText(node.id)},
        {QStringLiteral("kind"), kindName(node.kind)},
        {QStringLiteral("name"), node.name},
        {QStringLiteral("path"), localPath(node.url)},
        {QStringLiteral("modificationDate"), optionalDate(node.modificationDate)},
        {QStringLiteral("deltaType"), optionalRaw(node.deltaType)},
        {QStringLiteral("isArchived"), node.isArchived},
        {QStringLiteral("children"), children},
    };
}

QJsonObject summaryToJson(const ProjectSummary &summary)
{
    QJsonArray recent;
    for (const ChangeItem &item : summary.recentChanges)
        recent.append(changeItemToJson(item));
    QJsonArray changes;
    for (const ChangeSummary &change : summary.changeSummaries)
        changes.append(changeSummaryToJson(change));
    QJsonObject requirementCounts;
    for (auto it = summary.specRequirementCounts.cbegin(); it != summary.specRequirementCounts.cend(); ++it)
        requirementCounts.insert(it.key(), it.value());
    QJsonArray modules;
    for (const ModuleStat &module : summary.moduleStats) {
        modules.append(QJsonObject{{QStringLiteral("name"), module.name},
                                   {QStringLiteral("specCount"), module.specCount},
                                   {QStringLiteral("activeChanges"), module.activeChanges}});
    }
    return QJsonObject{
        {QStringLiteral("totalChanges"), summary.totalChanges},
        {QStringLiteral("activeChanges"), summary.activeChanges},
        {QStringLiteral("archivedChanges"), summary.archivedChanges},
        {QStringLiteral("draftCount"), summary.draftCount},
        {QStringLiteral("specCount"), summary.specCount},
        {QStringLiteral("specReqsCount"), optionalValue(summary.specReqsCount)},
        {QStringLiteral("addedCount"), summary.addedCount},
        {QStringLiteral("modifiedCount"), summary.modifiedCount},
        {QStringLiteral("removedCount"), summary.removedCount},
        {QStringLiteral("totalSpecFiles"), summary.totalSpecFiles},
        {QStringLiteral("deltaSpecFiles"), summary.deltaSpecFiles},
        {QStringLiteral("moduleCount"), summary.moduleCount},
        {QStringLiteral("recentChanges"), recent},
        {QStringLiteral("changeSummaries"), changes},
        {QStringLiteral("specNames"), QJsonArray::fromStringList(summary.specNames)},
        {QStringLiteral("specRequirementCounts"), requirementCounts},
        {QStringLiteral("oldestUnarchivedDays"), optionalValue(summary.oldestUnarchivedDays)},
        {QStringLiteral("unarchivedOver30Days"), summary.unarchivedOver30Days},
        {QStringLiteral("unarchivedOver60Days"), summary.unarchivedOver60Days},
        {QStringLiteral("moduleStats"), modules},
    };
}

QJsonObject reportToJson(const TreeNode &tree, const ProjectSummary &summary)
{
    return QJsonObject{{QStringLiteral("tree"), treeToJson(tree)},
                       {QStringLiteral("summary"), summaryToJson(summary)}};
}

} // namespace ProjectReport

} // namespace kestrune
