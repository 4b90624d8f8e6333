#pragma once

#include "text/searchpattern.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>

#include <functional>

namespace kestrune {

// The command line's project search: every match of a pattern in the Markdown files of a project,
// one JSON object a line, {"path", "line", "column", "text"}: the file's path below the project
// folder, the line and column (in characters) counted from 1, and the line's text. Files are in the
// order the window ranks them (archived changes last), matches in file order.
namespace SearchReport {

// Lines longer than this are given as this many characters around the match.
constexpr qsizetype longestLineText = 1000;

// Writes the matches through `write`, one JSON line at a time; returns how many there were.
qsizetype search(const QString &projectFolder, const SearchPattern &pattern,
                 const std::function<void(const QByteArray &jsonLine)> &write);

// The part of a line shown for a match at `column` (UTF-16 code units).
QString lineTextAround(QStringView line, qsizetype column);

} // namespace SearchReport

} // namespace kestrune
