#include "historyview/changetimelinemodel.h"

#include "historyview/timelineeventtext.h"
#include "text/daystring.h"

namespace kestrune {

int ChangeTimelineModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_events.size());
}

QVariant ChangeTimelineModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_events.size())
        return {};
    const ChangeHistoryEvent &event = m_events.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case subjectRole:
        return event.commit.subject;
    case Qt::AccessibleTextRole:
        return TimelineEventText::accessibleText(event);
    case Qt::ToolTipRole:
        return QStringLiteral("%1\n%2 <%3>").arg(event.commit.sha, event.commit.author, event.commit.email);
    case dateRole:
        return dayString(event.commit.time);
    case authorRole:
        return event.commit.author;
    case whatRole:
        return TimelineEventText::whatItDid(event);
    case filesRole:
        return TimelineEventText::files(event);
    case kindRole:
        return int(event.kind);
    case shaRole:
        return event.commit.sha;
    default:
        return {};
    }
}

void ChangeTimelineModel::append(const QList<ChangeHistoryEvent> &events)
{
    if (events.isEmpty())
        return;
    const int first = int(m_events.size());
    beginInsertRows(QModelIndex(), first, first + int(events.size()) - 1);
    m_events += events;
    endInsertRows();
}

void ChangeTimelineModel::reset(const QList<ChangeHistoryEvent> &events)
{
    beginResetModel();
    m_events = events;
    endResetModel();
}

} // namespace kestrune
