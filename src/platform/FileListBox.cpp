#include "platform/FileListBox.h"

#include "platform/FolderListing.h"

#include <QAbstractListModel>
#include <QFile>

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mirvo {

/// The names of the listing, changed row by row on a refresh. Each name is also kept as the
/// bytes the directory gives, so a refresh finds the names it already shows without decoding
/// or sorting them again.
class NameListModel final : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    const QStringList &names() const { return m_names; }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_names.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_names.size()
            || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return m_names.at(index.row());
    }

    /// Re-reads folder: each run of rows gone is removed and each run of new names inserted;
    /// when the runs are many, the list is replaced.
    void refresh(const QString &folder);

private:
    struct Added
    {
        QString name;
        std::string bytes;
    };
    struct BytesHash
    {
        using is_transparent = void;
        size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
    };

    void replace(std::vector<Added> added);
    void removeRows(qsizetype first, qsizetype length);

    QStringList m_names;
    std::vector<std::string> m_bytes; ///< of each row
    /// Every row's bytes, with the number of the refresh that last saw it.
    std::unordered_map<std::string, quint64, BytesHash, std::equal_to<>> m_seen;
    quint64 m_refresh = 0;
};

void NameListModel::refresh(const QString &folder)
{
    const quint64 now = ++m_refresh;
    std::vector<Added> added;
    qsizetype kept = 0;
    bool twice = false; // a name given twice (the folder changed while read): counts are off
    readOrdinaryFiles(folder, [&](std::string_view bytes) {
        const auto seen = m_seen.find(bytes);
        if (seen == m_seen.end()) {
            added.push_back({QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))),
                             std::string(bytes)});
        } else {
            twice = twice || seen->second == now;
            seen->second = now;
            ++kept;
        }
    });
    std::sort(added.begin(), added.end(), [](const Added &a, const Added &b) { return listedBefore(a.name, b.name); });

    // Every run shifts the rows after it, so past a few runs one reset is cheaper.
    constexpr size_t manyRuns = 16;
    std::vector<std::pair<qsizetype, qsizetype>> removed; // runs of rows: first, length
    if (kept < m_names.size()) {
        for (qsizetype row = 0; row < m_names.size() && removed.size() <= manyRuns; ++row) {
            if (m_seen.find(m_bytes[size_t(row)])->second == now)
                continue;
            if (!removed.empty() && removed.back().first + removed.back().second == row)
                ++removed.back().second;
            else
                removed.emplace_back(row, 1);
        }
    }
    size_t insertionRuns = 0;
    for (size_t i = 0; i < added.size() && insertionRuns + removed.size() <= manyRuns; ++i) {
        if (i == 0 || std::upper_bound(m_names.cbegin(), m_names.cend(), added[i - 1].name, listedBefore)
                          != std::upper_bound(m_names.cbegin(), m_names.cend(), added[i].name, listedBefore))
            ++insertionRuns;
    }
    if (twice || removed.size() + insertionRuns > manyRuns) {
        replace(std::move(added));
        return;
    }

    for (auto run = removed.crbegin(); run != removed.crend(); ++run)
        removeRows(run->first, run->second);
    // From the last new name back, so the rows found for the earlier ones stay where they are.
    for (auto end = added.size(); end > 0;) {
        const auto row = std::upper_bound(m_names.cbegin(), m_names.cend(), added[end - 1].name, listedBefore)
                         - m_names.cbegin();
        auto first = end - 1;
        while (first > 0 && std::upper_bound(m_names.cbegin(), m_names.cend(), added[first - 1].name, listedBefore)
                                    - m_names.cbegin() == row)
            --first;
        const auto length = static_cast<qsizetype>(end - first);
        beginInsertRows({}, static_cast<int>(row), static_cast<int>(row + length - 1));
        m_names.insert(row, length, QString());
        m_bytes.insert(m_bytes.begin() + row, length, std::string());
        for (qsizetype i = 0; i < length; ++i) {
            Added &name = added[first + size_t(i)];
            m_names[row + i] = std::move(name.name);
            m_seen.emplace(name.bytes, now);
            m_bytes[size_t(row + i)] = std::move(name.bytes);
        }
        endInsertRows();
        end = first;
    }
}

void NameListModel::removeRows(qsizetype first, qsizetype length)
{
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(first + length - 1));
    for (qsizetype row = first; row < first + length; ++row)
        m_seen.erase(m_bytes[size_t(row)]);
    m_names.remove(first, length);
    m_bytes.erase(m_bytes.begin() + first, m_bytes.begin() + first + length);
    endRemoveRows();
}

void NameListModel::replace(std::vector<Added> added)
{
    // The rows still there are in order already: merge the sorted new names into them.
    const quint64 now = m_refresh;
    QStringList names;
    std::vector<std::string> bytes;
    names.reserve(m_names.size() + qsizetype(added.size()));
    bytes.reserve(names.capacity());
    auto next = added.begin();
    const auto takeAddedBefore = [&](const QString *name) {
        for (; next != added.end() && (!name || listedBefore(next->name, *name)); ++next) {
            names.append(std::move(next->name));
            bytes.push_back(std::move(next->bytes));
        }
    };
    for (qsizetype row = 0; row < m_names.size(); ++row) {
        if (m_seen.find(m_bytes[size_t(row)])->second != now)
            continue;
        takeAddedBefore(&m_names.at(row));
        names.append(m_names.at(row));
        bytes.push_back(std::move(m_bytes[size_t(row)]));
    }
    takeAddedBefore(nullptr);
    beginResetModel();
    m_names = std::move(names);
    m_bytes = std::move(bytes);
    m_seen.clear();
    for (const std::string &name : m_bytes)
        m_seen.emplace(name, now);
    endResetModel();
}

FileListBox::FileListBox(QWidget *parent)
    : QListView(parent)
    , m_model(new NameListModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true); // keeps a 100000-name listing cheap to lay out
    // The view moves the current entry and the selection one after the other, in either
    // order; the entry is told of once both agree.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &FileListBox::onSelectionMoved);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &FileListBox::onSelectionMoved);
}

QStringList FileListBox::listFolder(const QString &folder)
{
    return listOrdinaryFiles(folder);
}

void FileListBox::setFolder(const QString &folder)
{
    m_folder = folder;
    refresh();
}

int FileListBox::count() const
{
    return static_cast<int>(m_model->names().size());
}

QString FileListBox::nameAt(int position) const
{
    return m_model->names().at(position);
}

void FileListBox::refresh()
{
    // The view moves the selection off a removed row onto its neighbour; a refresh is not a
    // choice of the user, so nothing is told, and an entry gone leaves no selection.
    const QString selected = selectedName();
    m_selectingFromCode = true;
    m_model->refresh(m_folder);
    if (!selected.isEmpty() && selectedName() != selected)
        selectionModel()->clear();
    m_selectingFromCode = false;
    m_announcedRow = selectedRow();
}

void FileListBox::select(int position)
{
    if (position < 0 || position >= count())
        return;
    m_selectingFromCode = true;
    setCurrentIndex(m_model->index(position));
    m_selectingFromCode = false;
    m_announcedRow = selectedRow();
}

int FileListBox::selectedRow() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

QString FileListBox::selectedName() const
{
    const int row = selectedRow();
    return row < 0 ? QString() : m_model->names().at(row);
}

void FileListBox::onSelectionMoved()
{
    const int row = selectedRow();
    if (m_selectingFromCode || row == m_announcedRow)
        return;
    m_announcedRow = row;
    if (row >= 0)
        emit entryClicked();
}

} // namespace mirvo
