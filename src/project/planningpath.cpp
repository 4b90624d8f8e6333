#include "project/planningpath.h"

#include <QStringList>

namespace kestrune {

namespace {

const QString markdownSuffix = QStringLiteral(".md");

QString capabilityOf(const QList<QStringView> &parts, qsizetype specsIndex)
{
    if (parts.size() == specsIndex + 2) {
        QStringView name = parts.constLast();
        if (name.endsWith(markdownSuffix, Qt::CaseInsensitive))
            name.chop(markdownSuffix.size());
        return name.toString();
    }
    QStringList folders;
    for (qsizetype index = specsIndex + 1; index < parts.size() - 1; ++index)
        folders.append(parts.at(index).toString());
    return folders.join(QLatin1Char('/'));
}

} // namespace

bool PlanningPath::isArchiveFolderName(QStringView name)
{
    return name.compare(u"archive", Qt::CaseInsensitive) == 0 ||
           name.compare(u"archived", Qt::CaseInsensitive) == 0;
}

QString PlanningPath::relativeTo(const QUrl &root, const QUrl &url)
{
    QString base = root.toLocalFile();
    while (base.endsWith(QLatin1Char('/')) && base.size() > 1)
        base.chop(1);
    const QString path = url.toLocalFile();
    const QString planning = base + QStringLiteral("/kestrune/");
    if (path.startsWith(planning))
        return path.mid(planning.size());
    if (path.startsWith(base + QLatin1Char('/')))
        return path.mid(base.size() + 1);
    return {};
}

PlanningPath PlanningPath::of(QStringView relativePath, bool isFolder)
{
    PlanningPath result;
    result.relativePath = relativePath.toString();
    const QList<QStringView> parts = relativePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return result;
    const bool isMarkdown = !isFolder && parts.constLast().endsWith(markdownSuffix, Qt::CaseInsensitive);
    if (parts.constFirst() == u"specs") {
        if (!isMarkdown || parts.size() < 2)
            return result;
        result.capability = capabilityOf(parts, 0);
        const bool capabilityFile =
            parts.size() == 2 || (parts.size() == 3 && parts.constLast() == u"spec.md");
        result.kind = capabilityFile ? Kind::specification : Kind::specificationText;
        return result;
    }
    if (parts.constFirst() != u"changes" || parts.size() < 2)
        return result;
    qsizetype changeIndex = 1;
    if (isArchiveFolderName(parts.at(1))) {
        result.isArchived = true;
        changeIndex = 2;
        if (parts.size() < 3)
            return result;
    }
    result.change = parts.at(changeIndex).toString();
    if (isFolder && parts.size() == changeIndex + 1) {
        result.kind = Kind::changeFolder;
        return result;
    }
    const qsizetype specsIndex = changeIndex + 1;
    if (isMarkdown && parts.size() > specsIndex + 1 && parts.at(specsIndex) == u"specs") {
        result.kind = Kind::deltaSpecification;
        result.capability = capabilityOf(parts, specsIndex);
    }
    return result;
}

} // namespace kestrune
