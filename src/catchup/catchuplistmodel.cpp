#include "catchup/catchuplistmodel.h"

#include "ui/localization.h"

#include <QLocale>

namespace kestrune {

CatchUpListModel::CatchUpListModel(QObject *parent) : QAbstractListModel(parent) {}

void CatchUpListModel::setGroups(QList<CatchUpGroup> groups)
{
    beginResetModel();
    m_groups = std::move(groups);
    rebuildRows();
    endResetModel();
}

void CatchUpListModel::setFilter(const QString &text)
{
    if (text == m_filter)
        return;
    beginResetModel();
    m_filter = text;
    rebuildRows();
    endResetModel();
}

void CatchUpListModel::setLineCount(const QString &relativePath, const CatchUpLineCount &count)
{
    m_counts.insert(relativePath, count);
    const int row = rowOf(relativePath);
    if (row >= 0)
        Q_EMIT dataChanged(index(row), index(row));
}

void CatchUpListModel::rebuildRows()
{
    m_rows.clear();
    m_rowOfPath.clear();
    for (int group = 0; group < m_groups.size(); ++group) {
        bool headed = false;
        const QList<CatchUpEntry> &entries = m_groups.at(group).entries;
        for (int entry = 0; entry < entries.size(); ++entry) {
            const CatchUpEntry &file = entries.at(entry);
            if (!m_filter.isEmpty() && !file.relativePath.contains(m_filter, Qt::CaseInsensitive))
                continue;
            if (!headed)
                m_rows.append(Row{group, -1});
            headed = true;
            m_rowOfPath.insert(file.relativePath, int(m_rows.size()));
            m_rows.append(Row{group, entry});
        }
    }
}

int CatchUpListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

bool CatchUpListModel::isHeading(int row) const
{
    return row >= 0 && row < m_rows.size() && m_rows.at(row).entry < 0;
}

const CatchUpGroup &CatchUpListModel::groupAt(int row) const
{
    return m_groups.at(m_rows.at(row).group);
}

const CatchUpEntry *CatchUpListModel::entryAt(int row) const
{
    if (row < 0 || row >= m_rows.size() || m_rows.at(row).entry < 0)
        return nullptr;
    return &m_groups.at(m_rows.at(row).group).entries.at(m_rows.at(row).entry);
}

int CatchUpListModel::rowOf(const QString &relativePath) const
{
    return m_rowOfPath.value(relativePath, -1);
}

int CatchUpListModel::firstEntryRow() const
{
    for (int row = 0; row < m_rows.size(); ++row)
        if (!isHeading(row))
            return row;
    return -1;
}

Qt::ItemFlags CatchUpListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || isHeading(index.row()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QString CatchUpListModel::headingText(int row) const
{
    const CatchUpGroup &group = groupAt(row);
    switch (group.kind) {
    case CatchUpGroup::Kind::change:
    case CatchUpGroup::Kind::archivedChange:
        return group.title;
    case CatchUpGroup::Kind::specifications:
        return Localization::text("dashboard.summary.specs");
    case CatchUpGroup::Kind::otherFiles:
        break;
    }
    return Localization::text("catchup.group.other");
}

QString CatchUpListModel::headingKindText(int row) const
{
    switch (groupAt(row).kind) {
    case CatchUpGroup::Kind::change:
        return Localization::text("quickopen.kind.change");
    case CatchUpGroup::Kind::archivedChange:
        return Localization::text("quickopen.kind.archived_change");
    case CatchUpGroup::Kind::specifications:
    case CatchUpGroup::Kind::otherFiles:
        break;
    }
    return {};
}

QString CatchUpListModel::changeText(CatchUpEntry::Change change)
{
    switch (change) {
    case CatchUpEntry::Change::changed:
        return Localization::text("catchup.change.changed");
    case CatchUpEntry::Change::added:
        return Localization::text("reading.mark.added");
    case CatchUpEntry::Change::removed:
        break;
    }
    return Localization::text("catchup.change.removed");
}

QString CatchUpListModel::timeText(const QDateTime &date)
{
    return QLocale::c().toString(date.toLocalTime(), QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString CatchUpListModel::countText(int row) const
{
    const CatchUpEntry *entry = entryAt(row);
    if (!entry)
        return {};
    const CatchUpLineCount count = lineCountOf(entry->relativePath);
    if (count.state != CatchUpLineCount::State::counted)
        return {}; // the line below says what changed
    const QLocale locale;
    return QStringLiteral("+%1 \u2212%2").arg(locale.toString(count.added), locale.toString(count.removed));
}

QString CatchUpListModel::detailText(int row) const
{
    const CatchUpEntry *entry = entryAt(row);
    if (!entry)
        return {};
    QString text = changeText(entry->change);
    if (entry->modificationDate && entry->change != CatchUpEntry::Change::removed)
        text += QStringLiteral(" \u00b7 ") + timeText(*entry->modificationDate);
    return text;
}

QString CatchUpListModel::accessibleText(int row) const
{
    if (isHeading(row)) {
        const QString kind = headingKindText(row);
        return kind.isEmpty() ? headingText(row) : kind + QStringLiteral(" ") + headingText(row);
    }
    const CatchUpEntry *entry = entryAt(row);
    if (!entry)
        return {};
    QStringList parts{entry->name, changeText(entry->change)};
    const CatchUpLineCount count = lineCountOf(entry->relativePath);
    if (count.state == CatchUpLineCount::State::counted) {
        parts.append(Localization::format("catchup.accessible.lines_added", count.added));
        parts.append(Localization::format("catchup.accessible.lines_removed", count.removed));
    }
    if (entry->modificationDate && entry->change != CatchUpEntry::Change::removed)
        parts.append(timeText(*entry->modificationDate));
    if (entry->change == CatchUpEntry::Change::removed)
        parts.append(Localization::text("catchup.accessible.not_openable"));
    return parts.join(QStringLiteral(", "));
}

QVariant CatchUpListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return isHeading(row) ? headingText(row) : entryAt(row)->name;
    case Qt::AccessibleTextRole:
        return accessibleText(row);
    case Qt::ToolTipRole:
        return isHeading(row) ? QVariant() : QVariant(entryAt(row)->relativePath);
    default:
        return {};
    }
}

} // namespace kestrune
