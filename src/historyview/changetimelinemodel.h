#pragma once

#include "history/changehistoryevent.h"

#include <QAbstractListModel>
#include <QList>

namespace kestrune {

// The rows of a change's timeline, newest first, as they arrived: one commit each. Holds the
// entries themselves (only what the view shows); the texts are made when asked for.
class ChangeTimelineModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        dateRole = Qt::UserRole + 1, // the day, as the program writes it
        authorRole,
        subjectRole,
        whatRole,  // what the commit did to the change
        filesRole, // the files it touched, comma-separated
        kindRole,  // ChangeEventKind as an int
        shaRole,
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void append(const QList<ChangeHistoryEvent> &events);
    // Replaces every row at once (a read again of a timeline on show).
    void reset(const QList<ChangeHistoryEvent> &events = {});
    const QList<ChangeHistoryEvent> &events() const { return m_events; }

private:
    QList<ChangeHistoryEvent> m_events;
};

} // namespace kestrune
