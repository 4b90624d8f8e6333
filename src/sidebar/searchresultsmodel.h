#pragma once

#include "project/changestatus.h"
#include "search/filesearchresult.h"

#include <QAbstractItemModel>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kestrune {

// The results of a project search as a two-level list: a row for each file with matches, in rank
// order, and under it a row for each kept hit. Results may arrive in any order; each is put in its
// place. Only hit rows can be selected.
class SearchResultsModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role
    {
        MatchCountRole = Qt::UserRole + 1, // of a file row: every match of the file
        LineRole,                          // of a hit row: its line, counted from 1
    };

    // A hit row's file and hit.
    struct HitReference
    {
        const FileSearchResult *result = nullptr;
        SearchHit hit;
    };

    explicit SearchResultsModel(QObject *parent = nullptr);
    ~SearchResultsModel() override;

    // The status badge of a file's change; none for files outside a change.
    void setStatusLookup(std::function<std::optional<ChangeStatus>(const SearchableFile &)> lookup);

    void clear();
    // Adds the results of files not listed yet, each in its rank's place.
    void addResults(QList<FileSearchResult> results);
    // Replaces every result at once (a search run again over changed files).
    void replaceResults(QList<FileSearchResult> results);

    int fileCount() const { return int(m_groups.size()); }
    qsizetype totalMatchCount() const { return m_totalMatchCount; }

    // The result of a file row, or of the file a hit row belongs to; null for an invalid index.
    const FileSearchResult *resultAt(const QModelIndex &index) const;
    std::optional<HitReference> hitAt(const QModelIndex &index) const;
    std::optional<ChangeStatus> statusAt(const QModelIndex &index) const;
    bool isFileRow(const QModelIndex &index) const { return index.isValid() && !index.internalPointer(); }
    // The row of a hit: its file and its place in the file (line and column); an invalid index when
    // the results hold no such hit.
    QModelIndex indexOfHit(const QUrl &file, int line, qsizetype column) const;
    // The first row of a file's result, for keeping a place when the exact hit is gone.
    QModelIndex indexOfFile(const QUrl &file) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Group
    {
        FileSearchResult result;
        std::optional<ChangeStatus> status;
    };

    int rowOf(const Group *group) const;
    static void discard(std::vector<std::unique_ptr<Group>> groups);
    std::unique_ptr<Group> makeGroup(FileSearchResult result) const;

    std::vector<std::unique_ptr<Group>> m_groups; // by rank
    qsizetype m_totalMatchCount = 0;
    std::function<std::optional<ChangeStatus>(const SearchableFile &)> m_statusLookup;
};

} // namespace kestrune
