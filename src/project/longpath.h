#pragma once

#include <QByteArray>

namespace kestrune {

// A native path made usable by the system calls whatever its length. The system refuses a path
// of PATH_MAX bytes or more (ENAMETOOLONG), yet folders may nest deeper than that. A path within
// the limit is used as it is, relative to the working folder, at no extra cost; a longer one is
// opened a piece at a time, each piece ending at a '/' and within the limit, and what remains is
// used relative to the last folder opened. Calls take the *at form: fstatat(folder(), rest(), ...).
class LongPath
{
public:
    explicit LongPath(QByteArray path);
    ~LongPath();
    LongPath(const LongPath &) = delete;
    LongPath &operator=(const LongPath &) = delete;

    // 0 when folder() and rest() can be used; otherwise why a piece could not be opened (errno).
    int error() const { return m_error; }
    // The folder rest() is relative to: AT_FDCWD, or a descriptor owned by this object.
    int folder() const;
    const char *rest() const { return m_rest.constData(); }

private:
    int m_folder = -1;
    QByteArray m_rest;
    int m_error = 0;
};

} // namespace kestrune
