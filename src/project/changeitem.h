#pragma once

#include "project/deltaspectype.h"

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>

namespace kestrune {

// A Markdown file below a "changes" folder, as listed among the recent changes.
struct ChangeItem
{
    QUuid id; // the id of the file's tree node
    QString title;
    std::optional<DeltaSpecType> deltaType;
    std::optional<QDateTime> updatedAt;
    bool isArchived = false;
    std::optional<QString> module;
};

} // namespace kestrune
