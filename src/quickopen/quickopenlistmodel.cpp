#include "quickopen/quickopenlistmodel.h"

#include "project/projectstore.h"
#include "ui/localization.h"

namespace kestrune {

namespace {

const QString separator = QStringLiteral(" · ");

} // namespace

QuickOpenListModel::QuickOpenListModel(QObject *parent) : QAbstractListModel(parent) {}

void QuickOpenListModel::setRows(const QList<QuickOpenEntry> &entries,
                                 const QList<QuickOpenRanker::Result> &ranked, QStringView query)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(ranked.size());
    for (const QuickOpenRanker::Result &result : ranked)
        m_rows.append(entries.at(result.entry));
    m_matcher = SubsequenceMatcher(query);
    m_positions.clear();
    endResetModel();
}

void QuickOpenListModel::setShowsProjectNames(bool show)
{
    if (m_showsProjectNames == show)
        return;
    m_showsProjectNames = show;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1));
}

int QuickOpenListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant QuickOpenListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const QuickOpenEntry &entry = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return entry.title;
    case Qt::AccessibleDescriptionRole:
    case Qt::ToolTipRole: {
        QString detail = detailText(index.row());
        if (entry.deltaType)
            detail = rawValue(*entry.deltaType) + separator + detail;
        return detail;
    }
    default:
        return {};
    }
}

QList<qsizetype> QuickOpenListModel::matchedPositions(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const auto cached = m_positions.constFind(row);
    if (cached != m_positions.cend())
        return *cached;
    const std::optional<SubsequenceMatcher::Match> match = m_matcher.match(m_rows.at(row).matchText);
    QList<qsizetype> positions = match ? match->positions : QList<qsizetype>();
    m_positions.insert(row, positions);
    return positions;
}

QString QuickOpenListModel::detailText(int row) const
{
    const QuickOpenEntry &entry = m_rows.at(row);
    QStringList parts;
    switch (entry.kind) {
    case QuickOpenEntry::Kind::file:
        if (!entry.folder.isEmpty())
            parts.append(entry.folder);
        break;
    case QuickOpenEntry::Kind::change:
        parts.append(Localization::text(entry.isArchived ? "quickopen.kind.archived_change"
                                                         : "quickopen.kind.change"));
        break;
    case QuickOpenEntry::Kind::specification:
        parts.append(Localization::text("quickopen.kind.specification"));
        break;
    case QuickOpenEntry::Kind::requirement:
        if (entry.change.isEmpty()) {
            parts.append(Localization::format("quickopen.requirement.specification", entry.capability));
        } else {
            parts.append(Localization::format(entry.isArchived ? "quickopen.requirement.archived_change"
                                                               : "quickopen.requirement.change",
                                              entry.change));
            parts.append(entry.capability);
        }
        break;
    }
    if (m_showsProjectNames)
        parts.append(ProjectStore::folderName(entry.projectRoot));
    return parts.join(separator);
}

int QuickOpenListModel::rowOfKey(const QString &key) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).key() == key)
            return row;
    }
    return -1;
}

} // namespace kestrune
