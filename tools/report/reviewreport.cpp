#include "reviewreport.h"

#include <QJsonArray>
#include <QJsonValue>

namespace kestrune {

namespace ReviewReport {
namespace {

QJsonObject countsToJson(const ReviewCounts &counts)
{
    return QJsonObject{{QStringLiteral("added"), counts.added},
                       {QStringLiteral("modified"), counts.modified},
                       {QStringLiteral("removed"), counts.removed}};
}

QJsonValue optionalPath(const std::optional<QUrl> &url)
{
    return url ? QJsonValue(url->toLocalFile()) : QJsonValue(QJsonValue::Null);
}

QJsonObject requirementToJson(const RequirementReview &requirement)
{
    QJsonArray hunks;
    for (const DiffHunk &hunk : requirement.hunks)
        hunks.append(QJsonObject{{QStringLiteral("op"), rawValue(hunk.operation)},
                                 {QStringLiteral("text"), hunk.text}});
    return QJsonObject{
        {QStringLiteral("name"), requirement.name},
        {QStringLiteral("kind"), rawValue(requirement.kind)},
        {QStringLiteral("flags"), QJsonArray::fromStringList(rawValues(requirement.flags))},
        {QStringLiteral("state"), rawValue(requirement.state)},
        {QStringLiteral("suggestion"),
         requirement.suggestion ? QJsonValue(*requirement.suggestion) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("hunks"), hunks},
    };
}

QJsonObject capabilityToJson(const CapabilityReview &capability)
{
    QJsonArray requirements;
    for (const RequirementReview &requirement : capability.requirements)
        requirements.append(requirementToJson(requirement));
    return QJsonObject{
        {QStringLiteral("name"), capability.capability},
        {QStringLiteral("deltaFile"), capability.deltaFile.toLocalFile()},
        {QStringLiteral("specificationFile"), optionalPath(capability.specificationFile)},
        {QStringLiteral("error"), capability.error == CapabilityError::none
                                      ? QJsonValue(QJsonValue::Null)
                                      : QJsonValue(rawValue(capability.error))},
        {QStringLiteral("counts"), countsToJson(capability.counts)},
        {QStringLiteral("requirementsOutsideDeltaSections"),
         QJsonArray::fromStringList(capability.requirementsOutsideDeltaSections)},
        {QStringLiteral("requirements"), requirements},
    };
}

} // namespace

QJsonObject reviewToJson(const ChangeReview &review)
{
    QJsonArray capabilities;
    for (const CapabilityReview &capability : review.capabilities)
        capabilities.append(capabilityToJson(capability));
    return QJsonObject{
        {QStringLiteral("change"), review.changeName},
        {QStringLiteral("path"), review.changeFolder.toLocalFile()},
        {QStringLiteral("archived"), review.archived},
        {QStringLiteral("flagged"), review.hasFindings()},
        {QStringLiteral("counts"), countsToJson(review.counts)},
        {QStringLiteral("capabilities"), capabilities},
    };
}

} // namespace ReviewReport

} // namespace kestrune
