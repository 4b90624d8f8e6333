#pragma once

#include "reading/catchupentry.h"
#include "reading/catchuplinecount.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

namespace kestrune {

// The rows of the catch-up list: a heading row per group (a change, the specifications, the
// other files), then a row per file of it whose name or path holds the filter text. Heading rows
// are neither enabled nor selectable, so the keys and the pointer pass over them. The lines
// counted of each file are set as they arrive.
class CatchUpListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit CatchUpListModel(QObject *parent = nullptr);

    void setGroups(QList<CatchUpGroup> groups);
    // Keeps the files whose name or path holds `text` (any letter case); empty keeps all.
    void setFilter(const QString &text);
    void setLineCount(const QString &relativePath, const CatchUpLineCount &count);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const QList<CatchUpGroup> &groups() const { return m_groups; }
    bool isHeading(int row) const;
    const CatchUpGroup &groupAt(int row) const;
    // The file of a row; null for a heading row.
    const CatchUpEntry *entryAt(int row) const;
    CatchUpLineCount lineCountOf(const QString &relativePath) const { return m_counts.value(relativePath); }
    int rowOf(const QString &relativePath) const;
    // The first row of a file, or -1.
    int firstEntryRow() const;

    // What a row says, as painted and as read out.
    QString headingText(int row) const;
    QString headingKindText(int row) const;
    // "+12 −3"; empty while the lines are being counted and when they cannot be (no earlier
    // text, too large): the detail text says "changed" all the same.
    QString countText(int row) const;
    // What changed and when: "changed · 2026-03-03 14:05", "removed".
    QString detailText(int row) const;
    // The whole row in words, for screen readers.
    QString accessibleText(int row) const;

    // The time of a change as the program writes days ("yyyy-MM-dd", western digits, the user's
    // time zone) with the hour and minute.
    static QString timeText(const QDateTime &date);
    static QString changeText(CatchUpEntry::Change change);

private:
    struct Row
    {
        int group = 0;
        int entry = -1; // -1: the group's heading
    };

    void rebuildRows();

    QList<CatchUpGroup> m_groups;
    QList<Row> m_rows;
    QString m_filter;
    QHash<QString, CatchUpLineCount> m_counts;
    // A whole checkout's files may be listed, each counted in turn: found by path, not by a walk.
    QHash<QString, int> m_rowOfPath;
};

} // namespace kestrune
