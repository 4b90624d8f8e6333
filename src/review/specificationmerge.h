#pragma once

#include "project/deltaspectype.h"
#include "review/specificationdocument.h"

#include <QList>
#include <QString>

#include <optional>

namespace kestrune {

// A requirement the delta touched, and where it stands in the merged text.
struct MergedRequirement
{
    QString name;
    DeltaSpecType kind = DeltaSpecType::added;
    // The requirement's lines in the merged text; for a removed one, no lines at the place it
    // was taken from.
    LineRange lines;
};

// A specification as it reads once a delta specification is applied: MODIFIED requirements
// replaced where they stand, REMOVED ones taken out, ADDED ones appended in order after the last
// requirement of the "## Requirements" section (a section made at the end when there is none).
// Everything else is kept as it was; line breaks become "\n". Entries naming a requirement the
// specification lacks change nothing and are not listed (the review flags them); nothing is
// written to disk.
struct SpecificationMerge
{
    QString text;
    QList<MergedRequirement> requirements; // in the order they stand in the merged text

    // `specification` is nothing for a capability the change introduces.
    static SpecificationMerge apply(const std::optional<SpecificationDocument> &specification,
                                    const SpecificationDocument &delta);
};

} // namespace kestrune
