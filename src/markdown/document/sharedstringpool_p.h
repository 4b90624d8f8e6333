#pragma once

#include <QString>
#include <QStringDecoder>

namespace kestrune {

// Makes many short strings out of a few large shared buffers.
//
// A converted document holds tens of thousands of short literals. Giving each
// its own allocation makes building the model, and later freeing it, cost more
// than parsing the text. The pool decodes each literal into the free end of a
// shared block instead: the strings it returns are ordinary QStrings whose data
// lie inside that block and which hold a reference to it, so the block lives as
// long as any string cut from it. Each string is followed by a terminating null,
// as Qt expects of a string's data, and a string that is later changed detaches
// (or, when it is the block's last holder, reuses only space no other string
// can be using).
class SharedStringPool
{
public:
    SharedStringPool();

    // `size` bytes of UTF-8 at `text` as a string; invalid sequences become the
    // replacement character, as with QString::fromUtf8.
    QString fromUtf8(const char *text, qsizetype size);

private:
    QString::DataPointer m_block;
    qsizetype m_used = 0;
    QStringDecoder m_decoder;
};

} // namespace kestrune
