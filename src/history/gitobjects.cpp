#include "history/gitobjects_p.h"

#include <QStringDecoder>

#include <cstring>

namespace kestrune::git {

QString hexOf(const git_oid &oid)
{
    char text[GIT_OID_HEXSZ + 1] = {};
    git_oid_tostr(text, sizeof text, &oid);
    return QString::fromLatin1(text);
}

QByteArray keyOf(const git_oid &oid)
{
    return QByteArray(reinterpret_cast<const char *>(oid.id), GIT_OID_RAWSZ);
}

QString lastError(const QString &fallback)
{
    const git_error *error = git_error_last();
    return error && error->message ? QString::fromUtf8(error->message) : fallback;
}

QString textOf(const char *bytes)
{
    return bytes ? textOf(bytes, qsizetype(std::strlen(bytes))) : QString();
}

QString textOf(const char *bytes, qsizetype size)
{
    if (!bytes)
        return {};
    const QByteArrayView view(bytes, size);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(view);
    if (!decoder.hasError())
        return text;
    return QString::fromLatin1(view);
}

} // namespace kestrune::git
