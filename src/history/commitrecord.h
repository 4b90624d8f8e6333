#pragma once

#include <QDateTime>
#include <QString>

namespace kestrune {

// One commit as a timeline shows it.
struct CommitRecord
{
    QString sha;     // 40 hexadecimal digits
    QDateTime time;  // the author's time, at the author's offset from UTC
    QString author;  // the author's name
    QString email;   // the author's address
    QString subject; // the message's first paragraph on one line

    friend bool operator==(const CommitRecord &, const CommitRecord &) = default;
};

} // namespace kestrune
