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

/// The names of the listing, changed row by row on a refresh. The model keeps the order the
/// directory gave the names in last time: a refresh walks the directory along it, so names it
/// already shows cost a comparison of their bytes, not a decoding, lookup or sort.
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
    void refresh(const QString &folder)
    {
        if (!applyDifference(folder))
            rebuild(folder);
    }

private:
    static constexpr size_t none = size_t(-1);
    struct Known
    {
        std::string bytes;
        QString name;
        quint64 seen = 0;      ///< the refresh that last saw it
        size_t position = 0;   ///< in the directory's order
    };
    struct Added
    {
        QString name;
        std::string bytes;
        size_t position; ///< in the directory's order
    };
    struct BytesHash
    {
        using is_transparent = void;
        size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
    };

    bool applyDifference(const QString &folder);
    void rebuild(const QString &folder);
    qsizetype rowOf(const QString &name) const;
    size_t remember(std::string bytes, QString name, size_t position);

    QStringList m_names;                ///< in listing order
    std::vector<Known> m_known;         ///< every name shown, and free places
    std::vector<size_t> m_free;         ///< places in m_known to reuse
    std::vector<size_t> m_order;        ///< m_known places in the directory's order
    std::unordered_map<std::string, size_t, BytesHash, std::equal_to<>> m_byBytes;
    quint64 m_refresh = 0;
};

size_t NameListModel::remember(std::string bytes, QString name, size_t position)
{
    size_t place = m_known.size();
    if (m_free.empty()) {
        m_known.emplace_back();
    } else {
        place = m_free.back();
        m_free.pop_back();
    }
    m_byBytes.emplace(bytes, place);
    m_known[place] = {std::move(bytes), std::move(name), m_refresh, position};
    return place;
}

qsizetype NameListModel::rowOf(const QString &name) const
{
    const auto row = std::lower_bound(m_names.cbegin(), m_names.cend(), name, listedBefore);
    return row != m_names.cend() && *row == name ? row - m_names.cbegin() : -1;
}

bool NameListModel::applyDifference(const QString &folder)
{
    const quint64 now = ++m_refresh;
    std::vector<size_t> order;
    order.reserve(m_order.size() + 16);
    std::vector<size_t> passed; // positions of the last order stepped over; checked at the end
    std::vector<Added> added;
    size_t next = 0;            // where in the last order the directory is expected to go on
    bool lost = false;          // a name given twice, or the order too scrambled to follow
    bool moved = false;         // the directory left the last order somewhere
    readOrdinaryFiles(folder, [&](std::string_view bytes) {
        size_t place = none;
        if (next < m_order.size() && m_known[m_order[next]].bytes == bytes) {
            place = m_order[next++];
        } else if (const auto found = m_byBytes.find(bytes); found != m_byBytes.end()) {
            place = found->second;
            moved = true;
            for (; next < m_known[place].position; ++next)
                passed.push_back(next);
            next = m_known[place].position + 1;
            lost = lost || passed.size() > m_order.size();
        }
        if (place == none) {
            added.push_back({QFile::decodeName(QByteArray(bytes.data(), qsizetype(bytes.size()))),
                             std::string(bytes), order.size()});
        } else {
            lost = lost || m_known[place].seen == now;
            m_known[place].seen = now;
        }
        order.push_back(place);
    });
    if (lost)
        return false;
    for (; next < m_order.size(); ++next)
        passed.push_back(next);

    std::vector<qsizetype> removedRows;
    for (const size_t position : passed) {
        Known &known = m_known[m_order[position]];
        if (known.seen == now)
            continue;
        const qsizetype row = rowOf(known.name);
        if (row < 0)
            return false;
        removedRows.push_back(row);
        known.seen = now; // counted once
        known.position = none;
    }
    std::sort(removedRows.begin(), removedRows.end());
    std::sort(added.begin(), added.end(), [](const Added &a, const Added &b) { return listedBefore(a.name, b.name); });

    // Every run shifts the rows after it, so past a few runs one reset is cheaper.
    constexpr size_t manyRuns = 16;
    size_t runs = 0;
    for (size_t i = 0; i < removedRows.size() && runs <= manyRuns; ++i)
        runs += i == 0 || removedRows[i] != removedRows[i - 1] + 1;
    const auto rowFor = [this](const QString &name) {
        return std::upper_bound(m_names.cbegin(), m_names.cend(), name, listedBefore) - m_names.cbegin();
    };
    for (size_t i = 0; i < added.size() && runs <= manyRuns; ++i)
        runs += i == 0 || rowFor(added[i - 1].name) != rowFor(added[i].name);
    if (runs > manyRuns)
        return false;

    for (size_t end = removedRows.size(); end > 0;) {
        size_t first = end - 1;
        while (first > 0 && removedRows[first - 1] + 1 == removedRows[first])
            --first;
        const qsizetype row = removedRows[first];
        const qsizetype length = qsizetype(end - first);
        beginRemoveRows({}, int(row), int(row + length - 1));
        m_names.remove(row, length);
        endRemoveRows();
        end = first;
    }
    for (const size_t position : passed) {
        const size_t place = m_order[position];
        if (m_known[place].position == none) {
            m_byBytes.erase(m_known[place].bytes);
            m_known[place] = {};
            m_free.push_back(place);
        }
    }
    // From the last new name back, so the rows found for the earlier ones stay where they are.
    for (size_t end = added.size(); end > 0;) {
        const qsizetype row = rowFor(added[end - 1].name);
        size_t first = end - 1;
        while (first > 0 && rowFor(added[first - 1].name) == row)
            --first;
        const qsizetype length = qsizetype(end - first);
        beginInsertRows({}, int(row), int(row + length - 1));
        m_names.insert(row, length, QString());
        for (qsizetype i = 0; i < length; ++i) {
            Added &name = added[first + size_t(i)];
            m_names[row + i] = name.name;
            order[name.position] = remember(std::move(name.bytes), std::move(name.name), name.position);
        }
        endInsertRows();
        end = first;
    }
    if (moved || !passed.empty() || !added.empty()) {
        for (size_t position = 0; position < order.size(); ++position)
            m_known[order[position]].position = position;
    }
    m_order = std::move(order);
    return true;
}

void NameListModel::rebuild(const QString &folder)
{
    m_known.clear();
    m_free.clear();
    m_order.clear();
    m_byBytes.clear();
    QStringList names;
    readOrdinaryFiles(folder, [&](std::string_view bytes) {
        QString name = QFile::decodeName(QByteArray(bytes.data(), qsizetype(bytes.size())));
        names.append(name);
        if (m_byBytes.find(bytes) == m_byBytes.end())
            m_order.push_back(remember(std::string(bytes), std::move(name), m_order.size()));
    });
    sortListed(names);
    beginResetModel();
    m_names = std::move(names);
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
