#include "review/capabilityreview.h"

#include "review/closestname.h"
#include "text/rawvaluetable.h"
#include "text/textlines.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace kestrune {

namespace {

constexpr RawValueTable<ReviewFlag, 4> flagValues({{
    {ReviewFlag::existsInSpecification, "existsInSpecification"},
    {ReviewFlag::missingFromSpecification, "missingFromSpecification"},
    {ReviewFlag::duplicateInChange, "duplicateInChange"},
    {ReviewFlag::duplicateInSpecification, "duplicateInSpecification"},
}});

constexpr std::array<ReviewFlag, 4> allFlags = {
    ReviewFlag::existsInSpecification, ReviewFlag::missingFromSpecification, ReviewFlag::duplicateInChange,
    ReviewFlag::duplicateInSpecification};

constexpr RawValueTable<RequirementState, 2> stateValues({{
    {RequirementState::pending, "pending"},
    {RequirementState::alreadyInSpecification, "alreadyInSpecification"},
}});

constexpr RawValueTable<CapabilityError, 4> errorValues({{
    {CapabilityError::none, "none"},
    {CapabilityError::deltaUnreadable, "deltaUnreadable"},
    {CapabilityError::specificationUnreadable, "specificationUnreadable"},
    {CapabilityError::linksOutsideProject, "linksOutsideProject"},
}});

QStringView withoutTrailingWhiteSpace(QStringView line)
{
    while (!line.isEmpty() && TextLines::isLineWhiteSpace(line.back()))
        line.chop(1);
    return line;
}

// Two requirement texts that differ only in white space at line ends read the same.
bool readsTheSame(QStringView left, QStringView right)
{
    if (left == right)
        return true;
    const QList<QStringView> leftLines = TextLines::splitLines(left);
    const QList<QStringView> rightLines = TextLines::splitLines(right);
    return std::equal(leftLines.begin(), leftLines.end(), rightLines.begin(), rightLines.end(),
                      [](QStringView a, QStringView b) {
                          return withoutTrailingWhiteSpace(a) == withoutTrailingWhiteSpace(b);
                      });
}

// The requirements of the current specification by key, in file order. Requirements under a
// delta heading are not part of a specification and are left out.
class RequirementIndex
{
public:
    explicit RequirementIndex(const std::optional<SpecificationDocument> &document)
    {
        if (!document)
            return;
        for (const SpecificationSection &section : document->sections) {
            if (deltaTypeOf(section.kind))
                continue;
            for (const RequirementBlock &requirement : section.requirements) {
                const QString key = SpecificationDocument::requirementKey(requirement.name);
                QList<const RequirementBlock *> &named = m_blocks[key];
                if (named.isEmpty())
                    m_names.append(requirement.name);
                named.append(&requirement);
            }
        }
    }

    QList<const RequirementBlock *> named(const QString &key) const { return m_blocks.value(key); }
    const QStringList &names() const { return m_names; }

private:
    QHash<QString, QList<const RequirementBlock *>> m_blocks;
    QStringList m_names;
};

RequirementReview reviewRequirement(const RequirementBlock &block, DeltaSpecType kind,
                                    const RequirementIndex &current, bool duplicateInChange, bool archived)
{
    RequirementReview review;
    review.name = block.name;
    review.kind = kind;
    review.deltaLines = block.lines;
    if (duplicateInChange)
        review.flags |= ReviewFlag::duplicateInChange;

    const QList<const RequirementBlock *> named =
        current.named(SpecificationDocument::requirementKey(block.name));
    const RequirementBlock *existing = named.isEmpty() ? nullptr : named.first();
    if (named.size() > 1)
        review.flags |= ReviewFlag::duplicateInSpecification;
    if (existing) {
        review.currentText = existing->text;
        review.currentLines = existing->lines;
    }
    const auto missing = [&] {
        review.flags |= ReviewFlag::missingFromSpecification;
        review.suggestion = closestName(block.name, current.names());
    };

    switch (kind) {
    case DeltaSpecType::added:
        review.proposedText = block.text;
        review.hunks = {{DiffOperation::insert, block.text}};
        if (existing) {
            if (readsTheSame(existing->text, block.text))
                review.state = RequirementState::alreadyInSpecification;
            if (!archived)
                review.flags |= ReviewFlag::existsInSpecification;
        }
        break;
    case DeltaSpecType::modified:
        review.proposedText = block.text;
        if (existing) {
            TextDiff diff = TextDiff::compare(existing->text, block.text);
            review.hunks = std::move(diff.hunks);
            review.granularity = diff.granularity;
            // The diff leaves white space at line ends aside as readsTheSame does.
            if (std::all_of(review.hunks.begin(), review.hunks.end(),
                            [](const DiffHunk &hunk) { return hunk.operation == DiffOperation::equal; }))
                review.state = RequirementState::alreadyInSpecification;
        } else {
            review.hunks = {{DiffOperation::insert, block.text}};
            missing();
        }
        break;
    case DeltaSpecType::removed:
        review.note = block.body();
        if (existing)
            review.hunks = {{DiffOperation::remove, existing->text}};
        else if (archived)
            review.state = RequirementState::alreadyInSpecification;
        else
            missing();
        break;
    }
    return review;
}

} // namespace

QString rawValue(ReviewFlag flag)
{
    return flagValues.rawValue(flag);
}

std::optional<ReviewFlag> reviewFlagFromRawValue(QStringView raw)
{
    return flagValues.fromRawValue(raw);
}

QStringList rawValues(ReviewFlags flags)
{
    QStringList values;
    for (ReviewFlag flag : allFlags) {
        if (flags.testFlag(flag))
            values.append(rawValue(flag));
    }
    return values;
}

QString rawValue(RequirementState state)
{
    return stateValues.rawValue(state);
}

std::optional<RequirementState> requirementStateFromRawValue(QStringView raw)
{
    return stateValues.fromRawValue(raw);
}

QString rawValue(CapabilityError error)
{
    return errorValues.rawValue(error);
}

std::optional<CapabilityError> capabilityErrorFromRawValue(QStringView raw)
{
    return errorValues.fromRawValue(raw);
}

ReviewCounts &ReviewCounts::operator+=(const ReviewCounts &other)
{
    added += other.added;
    modified += other.modified;
    removed += other.removed;
    return *this;
}

bool CapabilityReview::hasFindings() const
{
    return error != CapabilityError::none || !requirementsOutsideDeltaSections.isEmpty() ||
           std::any_of(requirements.begin(), requirements.end(),
                       [](const RequirementReview &review) { return bool(review.flags); });
}

CapabilityReview CapabilityReview::compare(const QString &capability,
                                           const std::optional<SpecificationDocument> &specification,
                                           const SpecificationDocument &delta, bool archived)
{
    CapabilityReview review;
    review.capability = capability;
    review.specification = specification;
    review.delta = delta;

    const RequirementIndex current(specification);
    const QStringList duplicates = delta.duplicateNames();
    for (const SpecificationSection &section : delta.sections) {
        const std::optional<DeltaSpecType> kind = deltaTypeOf(section.kind);
        for (const RequirementBlock &block : section.requirements) {
            if (!kind) {
                review.requirementsOutsideDeltaSections.append(block.name);
                continue;
            }
            const bool duplicate = duplicates.contains(SpecificationDocument::requirementKey(block.name));
            review.requirements.append(reviewRequirement(block, *kind, current, duplicate, archived));
            switch (*kind) {
            case DeltaSpecType::added:
                ++review.counts.added;
                break;
            case DeltaSpecType::modified:
                ++review.counts.modified;
                break;
            case DeltaSpecType::removed:
                ++review.counts.removed;
                break;
            }
        }
    }
    return review;
}

} // namespace kestrune
