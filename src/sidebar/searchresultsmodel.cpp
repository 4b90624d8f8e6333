#include "sidebar/searchresultsmodel.h"

#include "text/backgroundpool.h"
#include "text/backgroundthread.h"
#include "text/searchpattern.h"

#include <QThreadPool>

#include <limits>

namespace kestrune {

namespace {

// A hit's line, its white space at the start dropped, for a row's text.
QString hitText(const FileSearchResult &result, const SearchHit &hit)
{
    return result.lineText(hit).trimmed().toString();
}

} // namespace

SearchResultsModel::SearchResultsModel(QObject *parent) : QAbstractItemModel(parent) {}

SearchResultsModel::~SearchResultsModel() = default;

void SearchResultsModel::setStatusLookup(
    std::function<std::optional<ChangeStatus>(const SearchableFile &)> lookup)
{
    m_statusLookup = std::move(lookup);
}

std::unique_ptr<SearchResultsModel::Group> SearchResultsModel::makeGroup(FileSearchResult result) const
{
    auto group = std::make_unique<Group>();
    if (m_statusLookup && result.file)
        group->status = m_statusLookup(*result.file);
    group->result = std::move(result);
    return group;
}

void SearchResultsModel::clear()
{
    if (m_groups.empty())
        return;
    beginResetModel();
    discard(std::move(m_groups));
    m_groups.clear();
    m_totalMatchCount = 0;
    endResetModel();
}

void SearchResultsModel::discard(std::vector<std::unique_ptr<Group>> groups)
{
    // Tens of thousands of hits are freed off the window's thread.
    if (groups.size() < 64)
        return;
    auto doomed = std::make_shared<std::vector<std::unique_ptr<Group>>>(std::move(groups));
    BackgroundPool::yielding()->start([doomed] {
        BackgroundThread::yieldToWindow();
        doomed->clear();
    });
}

void SearchResultsModel::addResults(QList<FileSearchResult> results)
{
    std::sort(results.begin(), results.end(),
              [](const FileSearchResult &a, const FileSearchResult &b) { return a.rank < b.rank; });
    // Results that land between the same two rows go in with one insertion: a slice of the search
    // holds neighbouring ranks, so a whole slice usually takes one.
    qsizetype next = 0;
    while (next < results.size()) {
        const int rank = results[next].rank;
        const auto at = std::lower_bound(
            m_groups.begin(), m_groups.end(), rank,
            [](const std::unique_ptr<Group> &group, int value) { return group->result.rank < value; });
        if (at != m_groups.end() && (*at)->result.rank == rank) {
            ++next; // listed already
            continue;
        }
        const int bound = at != m_groups.end() ? (*at)->result.rank : std::numeric_limits<int>::max();
        std::vector<std::unique_ptr<Group>> run;
        int lastRank = -1;
        for (; next < results.size() && results[next].rank < bound; ++next) {
            if (results[next].rank == lastRank)
                continue;
            lastRank = results[next].rank;
            m_totalMatchCount += results[next].matchCount;
            run.push_back(makeGroup(std::move(results[next])));
        }
        const int row = int(at - m_groups.begin());
        beginInsertRows(QModelIndex(), row, row + int(run.size()) - 1);
        m_groups.insert(m_groups.begin() + row, std::make_move_iterator(run.begin()),
                        std::make_move_iterator(run.end()));
        endInsertRows();
    }
}

void SearchResultsModel::replaceResults(QList<FileSearchResult> results)
{
    std::sort(results.begin(), results.end(),
              [](const FileSearchResult &a, const FileSearchResult &b) { return a.rank < b.rank; });
    beginResetModel();
    discard(std::move(m_groups));
    m_groups.clear();
    m_totalMatchCount = 0;
    for (FileSearchResult &result : results) {
        m_totalMatchCount += result.matchCount;
        m_groups.push_back(makeGroup(std::move(result)));
    }
    endResetModel();
}

int SearchResultsModel::rowOf(const Group *group) const
{
    const auto at = std::lower_bound(
        m_groups.begin(), m_groups.end(), group->result.rank,
        [](const std::unique_ptr<Group> &candidate, int rank) { return candidate->result.rank < rank; });
    return at != m_groups.end() && at->get() == group ? int(at - m_groups.begin()) : -1;
}

const FileSearchResult *SearchResultsModel::resultAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return nullptr;
    if (const auto *group = static_cast<const Group *>(index.internalPointer()))
        return &group->result;
    return index.row() < int(m_groups.size()) ? &m_groups[size_t(index.row())]->result : nullptr;
}

std::optional<SearchResultsModel::HitReference> SearchResultsModel::hitAt(const QModelIndex &index) const
{
    const auto *group = index.isValid() ? static_cast<const Group *>(index.internalPointer()) : nullptr;
    if (!group || index.row() >= group->result.hits.size())
        return std::nullopt;
    return HitReference{&group->result, group->result.hits[index.row()]};
}

std::optional<ChangeStatus> SearchResultsModel::statusAt(const QModelIndex &index) const
{
    if (!isFileRow(index) || index.row() >= int(m_groups.size()))
        return std::nullopt;
    return m_groups[size_t(index.row())]->status;
}

QModelIndex SearchResultsModel::indexOfFile(const QUrl &file) const
{
    for (size_t row = 0; row < m_groups.size(); ++row) {
        if (m_groups[row]->result.file && m_groups[row]->result.file->url == file)
            return createIndex(int(row), 0);
    }
    return {};
}

QModelIndex SearchResultsModel::indexOfHit(const QUrl &file, int line, qsizetype column) const
{
    const QModelIndex fileIndex = indexOfFile(file);
    if (!fileIndex.isValid())
        return {};
    Group *group = m_groups[size_t(fileIndex.row())].get();
    const QList<SearchHit> &hits = group->result.hits;
    for (int row = 0; row < hits.size(); ++row) {
        if (hits[row].line == line && hits[row].column == column)
            return createIndex(row, 0, group);
    }
    return {};
}

QModelIndex SearchResultsModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < int(m_groups.size()) ? createIndex(row, 0) : QModelIndex();
    if (parent.internalPointer() || parent.row() >= int(m_groups.size()))
        return {};
    Group *group = m_groups[size_t(parent.row())].get();
    return row < group->result.hits.size() ? createIndex(row, 0, group) : QModelIndex();
}

QModelIndex SearchResultsModel::parent(const QModelIndex &index) const
{
    const auto *group = index.isValid() ? static_cast<const Group *>(index.internalPointer()) : nullptr;
    if (!group)
        return {};
    const int row = rowOf(group);
    return row >= 0 ? createIndex(row, 0) : QModelIndex();
}

int SearchResultsModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_groups.size());
    if (parent.internalPointer() || parent.row() >= int(m_groups.size()))
        return 0;
    return int(m_groups[size_t(parent.row())]->result.hits.size());
}

int SearchResultsModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant SearchResultsModel::data(const QModelIndex &index, int role) const
{
    const FileSearchResult *result = resultAt(index);
    if (!result || !result->file)
        return {};
    if (isFileRow(index)) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return result->file->relativePath;
        case MatchCountRole:
            return qlonglong(result->matchCount);
        default:
            return {};
        }
    }
    const std::optional<HitReference> hit = hitAt(index);
    if (!hit)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return hitText(*result, hit->hit);
    case LineRole:
        return hit->hit.line + 1;
    default:
        return {};
    }
}

Qt::ItemFlags SearchResultsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (isFileRow(index))
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace kestrune
