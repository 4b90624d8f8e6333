#pragma once

#include <QString>

namespace kestrune {

// Writes a large change below `projectFolder` for benchmarks: the change "big-change" touching 20
// capabilities, each with a current specification of 50 requirements (about 700 bytes each: a
// paragraph and two scenarios) and a delta specification modifying 40 of them (a few words each),
// removing 5 and adding 5. Returns the number of bytes of Markdown written.
qint64 writeLargeChange(const QString &projectFolder);

} // namespace kestrune
