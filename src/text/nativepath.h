#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace kestrune {

// File names as the system stores them are bytes, not text: a repository may hold a name that
// is not valid UTF-8. The model keeps paths as QString and converts them with this class, which
// loses nothing. Valid UTF-8 decodes as usual; every byte that is not part of a valid sequence
// becomes a code point of the range U+F780 to U+F7FF (U+F700 plus the byte), and encoding turns
// such a code point back into its byte. A name that really holds one of those code points has
// each byte of its sequence escaped the same way, so it round-trips as well.
class NativePath
{
public:
    NativePath() = delete;

    // The path for the model: encode(decode(bytes)) gives back the bytes, whatever they are.
    static QString decode(QByteArrayView bytes);
    // The bytes for the system calls.
    static QByteArray encode(QStringView path);
    // The name or path for people to read: each undecodable byte shown as U+FFFD, every valid
    // character as itself (the reserved code points included). Not a path any more.
    static QString displayName(QStringView path);
};

} // namespace kestrune
