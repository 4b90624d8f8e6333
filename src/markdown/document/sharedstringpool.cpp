#include "markdown/document/sharedstringpool_p.h"

#include <QArrayData>

namespace kestrune {

namespace {

// Characters per block: large enough that allocations become rare, small enough
// that a string kept on its own does not hold on to much.
constexpr qsizetype blockCapacity = 16 * 1024;

// Longer strings get their own allocation.
constexpr qsizetype largestPooled = blockCapacity / 8;

} // namespace

SharedStringPool::SharedStringPool() : m_decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless) {}

QString SharedStringPool::fromUtf8(const char *text, qsizetype size)
{
    if (size <= 0)
        return QString();
    if (size > largestPooled)
        return QString::fromUtf8(text, size);

    // A UTF-8 sequence never decodes into more UTF-16 units than it has bytes.
    const qsizetype needed = size + 1;
    if (!m_block.d_ptr() || m_block.d_ptr()->constAllocatedCapacity() - m_used < needed) {
        const auto [header, data] = QTypedArrayData<char16_t>::allocate(blockCapacity);
        m_block = QString::DataPointer(header, data, 0);
        m_used = 0;
    }

    char16_t *begin = m_block.data() + m_used;
    char16_t *end = begin;
    qsizetype index = 0;
    // Plain ASCII, the common case, is widened directly; the decoder takes the rest.
    for (; index < size && static_cast<unsigned char>(text[index]) < 0x80; ++index)
        *end++ = char16_t(static_cast<unsigned char>(text[index]));
    if (index < size) {
        QChar *out = m_decoder.appendToBuffer(reinterpret_cast<QChar *>(end),
                                              QByteArrayView(text + index, size - index));
        end = reinterpret_cast<char16_t *>(out);
    }
    *end = u'\0';
    m_used += (end - begin) + 1;

    QString::DataPointer slice(m_block); // takes a reference to the block
    slice.setBegin(begin);
    slice.size = end - begin;
    return QString(std::move(slice));
}

} // namespace kestrune
