#include "reading/readingstatefolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace kestrune {

QString ReadingStateFolder::root()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/kestrune/reading"));
}

QString ReadingStateFolder::canonicalProjectPath(const QString &projectFolder)
{
    return QFileInfo(projectFolder).canonicalFilePath();
}

QString ReadingStateFolder::ofProject(const QString &root, const QString &canonicalProjectPath)
{
    const QByteArray hash =
        QCryptographicHash::hash(canonicalProjectPath.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    QString name = QFileInfo(canonicalProjectPath).fileName();
    // Only plain characters in the readable half: the hash alone tells projects apart.
    for (QChar &c : name)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_' && c != u'.')
            c = u'_';
    if (name.isEmpty() || name.startsWith(u'.'))
        name.prepend(u'_');
    return root + u'/' + name.left(64) + u'-' + QString::fromLatin1(hash);
}

} // namespace kestrune
