#pragma once

#include "project/deltaspectype.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace kestrune {

// Lines [first, first + count) of a text, counted from 0.
struct LineRange
{
    qsizetype first = 0;
    qsizetype count = 0;

    qsizetype end() const { return first + count; }
    friend bool operator==(const LineRange &, const LineRange &) = default;
};

// One requirement of a specification: its "### Requirement: NAME" heading (or "Requirement：",
// with the full-width colon) and every line up to the next heading of level 1 to 3, its
// scenarios included. Blank lines at its end belong to the gap before what follows.
struct RequirementBlock
{
    QString name; // as written after the colon, without white space at either end
    QString text; // the whole block, its lines joined by "\n"
    LineRange lines;
    // The identifier the preview gives its heading (what "#identifier" links to): the heading's
    // HeadingIdentifier, made unique among the file's headings by HeadingIdentifierSequence.
    QString identifier;

    // The block without its heading and the blank lines after it: what a REMOVED entry says
    // about the removal (its reason, its migration).
    QString body() const;
};

enum class SpecificationSectionKind
{
    leading, // the text before the first section heading (the title among it); it has no heading
    requirements,
    added,
    modified,
    removed,
    other, // any other heading of level 2 ("## Purpose")
};

// The delta type of an "ADDED", "MODIFIED" or "REMOVED" section, nothing for the other kinds.
std::optional<DeltaSpecType> deltaTypeOf(SpecificationSectionKind kind);

// A heading of level 2 and what follows it up to the next one.
struct SpecificationSection
{
    SpecificationSectionKind kind = SpecificationSectionKind::leading;
    QString title; // the heading's text without its "##" marks; empty for the leading text
    LineRange lines;
    QList<RequirementBlock> requirements;
};

// A specification or delta specification file split into sections and requirements, as read
// from any real file: text before the first section, unknown sections, requirements outside any
// section, headings with trailing white space. Every line break (CR LF, CR, LF and the other
// breaks of TextLines) is read as one "\n". Headings inside fenced code blocks are text.
struct SpecificationDocument
{
    QStringList lines;
    QList<SpecificationSection> sections; // in file order; a file with no text has none

    static SpecificationDocument parse(QStringView text);

    // The simplified name two requirements are matched by: white space at the ends removed and
    // every inner run of it made one space.
    static QString requirementKey(QStringView name);

    // Names given to more than one requirement of the file, each once, in order of appearance.
    QStringList duplicateNames() const;
};

} // namespace kestrune
