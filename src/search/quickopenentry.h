#pragma once

#include "project/deltaspectype.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace kestrune {

// One place quick open can go to: a Markdown file, a change, a specification, or a requirement
// heading in a specification or delta specification.
struct QuickOpenEntry
{
    enum class Kind
    {
        file,
        change,
        specification,
        requirement,
    };

    Kind kind = Kind::file;
    // What a row shows first: the file's name, the change's, the capability, the requirement's.
    QString title;
    // What the query is matched against: a file's path relative to the planning folder, else
    // the title. The title is its end, from `titleOffset` on.
    QString matchText;
    qsizetype titleOffset = 0;
    QString folder;     // of a file, relative to the planning folder ("" at its top)
    QString change;     // the change a change folder, a delta specification's file or requirement has
    QString capability; // of a specification, or a (delta) specification's requirement
    QUrl projectRoot;
    QUrl target;      // the file to open, or a change folder without a proposal
    QString fragment; // the heading identifier of a requirement
    bool isArchived = false;
    std::optional<DeltaSpecType> deltaType; // a delta specification's file, or its requirement's section

    // Identifies the entry across rebuilds of the list (a file edited keeps its entries' keys).
    QString key() const
    {
        return QString::number(int(kind)) + QLatin1Char(' ') + target.toString() + QLatin1Char('#') +
               fragment;
    }

    friend bool operator==(const QuickOpenEntry &, const QuickOpenEntry &) = default;
};

} // namespace kestrune
