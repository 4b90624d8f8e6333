#include "project/longpath.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace kestrune {

namespace {

// Each piece only has to be searched through, not read.
#ifdef O_PATH
constexpr int pieceFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int pieceFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

} // namespace

LongPath::LongPath(QByteArray path) : m_rest(std::move(path))
{
    // PATH_MAX counts the terminating zero byte.
    while (m_rest.size() >= PATH_MAX) {
        const qsizetype cut = m_rest.lastIndexOf('/', PATH_MAX - 2);
        int next = -1;
        if (cut < 0)
            errno = ENAMETOOLONG; // one name alone is too long
        else
            next = ::openat(folder(), m_rest.left(cut + 1).constData(), pieceFlags);
        if (next < 0) {
            m_error = errno;
            m_rest.clear();
            return;
        }
        if (m_folder >= 0)
            ::close(m_folder);
        m_folder = next;
        m_rest.remove(0, cut + 1);
    }
}

LongPath::~LongPath()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

int LongPath::folder() const
{
    return m_folder >= 0 ? m_folder : AT_FDCWD;
}

} // namespace kestrune
