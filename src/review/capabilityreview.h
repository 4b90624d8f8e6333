#pragma once

#include "project/deltaspectype.h"
#include "review/specificationdocument.h"
#include "review/textdiff.h"

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace kestrune {

// What looks wrong with one requirement of a delta specification.
enum class ReviewFlag
{
    existsInSpecification = 0x1,    // ADDED, but the current specification has a requirement of the name
    missingFromSpecification = 0x2, // MODIFIED or REMOVED, but the current specification has none
    duplicateInChange = 0x4,        // the delta specification names the requirement more than once
    duplicateInSpecification = 0x8, // the current specification does; the first one is compared
};
Q_DECLARE_FLAGS(ReviewFlags, ReviewFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(ReviewFlags)

// "existsInSpecification", "missingFromSpecification", "duplicateInChange",
// "duplicateInSpecification".
QString rawValue(ReviewFlag flag);
std::optional<ReviewFlag> reviewFlagFromRawValue(QStringView raw);
// The raw values of the flags set, in the order of the enumeration.
QStringList rawValues(ReviewFlags flags);

enum class RequirementState
{
    pending,                // the current specification does not read as the change proposes yet
    alreadyInSpecification, // it does: the text proposed is there, or the text removed is gone
};

// "pending", "alreadyInSpecification".
QString rawValue(RequirementState state);
std::optional<RequirementState> requirementStateFromRawValue(QStringView raw);

// One requirement of a delta specification beside the current specification.
struct RequirementReview
{
    QString name;
    DeltaSpecType kind = DeltaSpecType::added;
    ReviewFlags flags;
    RequirementState state = RequirementState::pending;
    // For a MODIFIED or REMOVED name the specification lacks: its closest requirement name.
    std::optional<QString> suggestion;
    // ADDED: the proposed text inserted; MODIFIED: the current text turned into the proposed one
    // (only the proposed text inserted when there is no current one); REMOVED: the current text
    // removed (no hunk when there is none).
    QList<DiffHunk> hunks;
    TextDiff::Granularity granularity = TextDiff::Granularity::words;
    QString currentText;  // the requirement in the current specification, empty when it has none
    QString proposedText; // ADDED and MODIFIED: the block of the delta specification
    QString note;         // REMOVED: the text under the entry's heading (reason, migration)
    LineRange deltaLines; // in the delta specification
    std::optional<LineRange> currentLines;
};

// How many requirements a change adds, modifies and removes.
struct ReviewCounts
{
    qint64 added = 0;
    qint64 modified = 0;
    qint64 removed = 0;

    ReviewCounts &operator+=(const ReviewCounts &other);
    friend bool operator==(const ReviewCounts &, const ReviewCounts &) = default;
};

// Why a capability could not be compared.
enum class CapabilityError
{
    none,
    deltaUnreadable,         // the delta specification cannot be read, or is not UTF-8
    specificationUnreadable, // the current specification exists but cannot be read
    linksOutsideProject,     // one of them is a symbolic link leading out of the project
};

// "none", "deltaUnreadable", "specificationUnreadable", "linksOutsideProject".
QString rawValue(CapabilityError error);
std::optional<CapabilityError> capabilityErrorFromRawValue(QStringView raw);

// The delta specification of one capability beside its current specification.
struct CapabilityReview
{
    QString capability;
    QUrl deltaFile;
    std::optional<QUrl> specificationFile; // nothing for a capability the change introduces
    CapabilityError error = CapabilityError::none;
    std::optional<SpecificationDocument> specification; // as read; nothing when there is none
    SpecificationDocument delta;
    QList<RequirementReview> requirements; // in the order of the delta specification
    // Requirements of the delta specification under no ADDED, MODIFIED or REMOVED heading
    // (a misspelt section heading): they would be lost, so they count as flagged.
    QStringList requirementsOutsideDeltaSections;
    ReviewCounts counts;

    // Whether anything calls for a look: an error, a flag, a requirement outside the sections.
    bool hasFindings() const;

    // Compares a delta specification with the current specification (nothing when the
    // capability has none). In an archived change, an ADDED requirement that is there and a
    // REMOVED one that is gone are what applying the change did, not findings.
    static CapabilityReview compare(const QString &capability,
                                    const std::optional<SpecificationDocument> &specification,
                                    const SpecificationDocument &delta, bool archived);
};

} // namespace kestrune
