#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace kestrune {

// What the reader looks for in a document: a piece of text, matched without regard to its
// styling, case-insensitively unless asked otherwise. A plain value.
struct FindQuery
{
    QString text;
    Qt::CaseSensitivity caseSensitivity = Qt::CaseInsensitive;

    bool isEmpty() const { return text.isEmpty(); }
    // Where each match starts in `haystack`, in order; matches do not overlap.
    QList<qsizetype> matchStarts(QStringView haystack) const;
    qsizetype matchCount(QStringView haystack) const;

    friend bool operator==(const FindQuery &, const FindQuery &) = default;
};

} // namespace kestrune
