#pragma once

#include "search/quickopenentry.h"
#include "search/quickopenranker.h"
#include "search/subsequencematcher.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

namespace kestrune {

// The rows quick open shows: the ranked entries, and for each the letters the query matched
// (found again for the rows painted only) and the line under its title.
class QuickOpenListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit QuickOpenListModel(QObject *parent = nullptr);

    // `query`: the part of the typed text matched against the entries.
    void setRows(const QList<QuickOpenEntry> &entries, const QList<QuickOpenRanker::Result> &ranked,
                 QStringView query);
    // Whether the line under a title names the project (when entries of several are listed).
    void setShowsProjectNames(bool show);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QuickOpenEntry &entryAt(int row) const { return m_rows.at(row); }
    // The positions of the matched letters in the entry's matchText.
    QList<qsizetype> matchedPositions(int row) const;
    // The line under the title: where the entry is.
    QString detailText(int row) const;
    int rowOfKey(const QString &key) const;

private:
    QList<QuickOpenEntry> m_rows;
    SubsequenceMatcher m_matcher{u""};
    bool m_showsProjectNames = false;
    mutable QHash<int, QList<qsizetype>> m_positions;
};

} // namespace kestrune
