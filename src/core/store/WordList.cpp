#include "core/store/WordList.h"

#include "core/store/FolderReading.h"
#include "core/store/WordNames.h"
#include "core/store/WordStorePlatform.h"

#include <algorithm>

namespace mirvo {

WordList::WordList(const QString &folder, QObject *parent)
    : QAbstractListModel(parent)
    , m_folder(folder)
{
}

WordList::~WordList() = default;

QStringList WordList::names() const
{
    QStringList result;
    result.reserve(count());
    for (const Row row : m_rows)
        result.append(row->second.name);
    return result;
}

int WordList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant WordList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return nameAt(index.row());
}

bool WordList::refresh(QString *error)
{
    // An empty list ends the drill, so notices alone never make one: the folder is read whole,
    // after the watch has let go of it (under Wine a folder that another program deletes stays,
    // empty, until the last handle on it closes).
    if (const auto changes = m_watch.takeChanges(manyRuns); changes && applyChanges(*changes) && count() > 0)
        return true;
    return reread(error);
}

void WordList::insertNames(const std::vector<EntryName> &names)
{
    // A list whose reading failed stays empty until the folder is read whole again.
    if (m_failed)
        return;
    std::vector<Added> added;
    for (const EntryName &name : names) {
        if (m_words.find(name.bytes) == m_words.end())
            added.push_back({name.word.toLower(), name.word, name.bytes});
    }
    if (added.empty())
        return;
    m_order.forget(); // the rows are no longer the last reading's
    if (added.size() == 1) {
        insertRow(added.front());
        return;
    }
    sortAdded(added);
    // Every row is the current reading's, so the walk below finds only new names.
    applyReading(added);
}

void WordList::removeName(const std::string &bytes)
{
    const auto known = m_words.find(bytes);
    if (known == m_words.end())
        return;
    m_order.forget();
    removeRow(rowIn(known));
}

int WordList::rowOf(const QString &name) const
{
    const auto known = find(name, nameBytes(name));
    return known == m_words.end() ? -1 : int(rowIn(known) - m_rows.cbegin());
}

std::string WordList::bytesOf(const QString &name) const
{
    std::string bytes = nameBytes(name);
    const auto known = find(name, bytes);
    return known == m_words.end() ? bytes : known->first;
}

WordList::Words::const_iterator WordList::find(const QString &name, const std::string &bytes) const
{
    if (const auto known = m_words.find(bytes); known != m_words.end())
        return known;
    // Not in the file system's encoding (GBK on Linux): the sorted rows hold it by its text.
    const auto row = firstRowNotBefore(name);
    return row != m_rows.cend() && (*row)->second.name == name ? m_words.find((*row)->first) : m_words.end();
}

WordList::Row WordList::remember(Added &added)
{
    const auto stored = m_words.insert_or_assign(std::move(added.bytes), Word{std::move(added.name), m_reading});
    return &*stored.first;
}

bool WordList::applyChanges(const std::vector<FolderWatch::Change> &changes)
{
    if (!changes.empty())
        m_order.forget(); // the rows are no longer the last reading's
    for (const FolderWatch::Change &change : changes) {
        const auto known = m_words.find(change.bytes);
        if (change.listed && known == m_words.end()) {
            Added added{QString(), nameFromBytes(change.bytes), change.bytes};
            insertRow(added);
        } else if (!change.listed && known != m_words.end()) {
            const auto row = rowIn(known);
            if (row == m_rows.cend())
                return false;
            removeRow(row);
        }
    }
    return true;
}

void WordList::insertRow(Added &added)
{
    const qsizetype row = rowFor(added.name);
    beginInsertRows({}, int(row), int(row));
    m_rows.insert(m_rows.begin() + row, remember(added));
    endInsertRows();
}

void WordList::removeRow(std::vector<Row>::const_iterator row)
{
    if (row == m_rows.cend())
        return;
    const int at = int(row - m_rows.cbegin());
    const std::string bytes = (*row)->first;
    beginRemoveRows({}, at, at);
    m_rows.erase(row);
    endRemoveRows();
    m_words.erase(bytes);
}

std::vector<WordList::Row>::const_iterator WordList::rowIn(Words::const_iterator known) const
{
    // Rows are sorted by name: the first that is not before it, then on to this very one.
    return std::find_if(firstRowNotBefore(known->second.name), m_rows.cend(), [&](const Row row) { return row == &*known; });
}

std::vector<WordList::Row>::const_iterator WordList::firstRowNotBefore(const QString &name) const
{
    return std::lower_bound(m_rows.cbegin(), m_rows.cend(), name, [](const Row row, const QString &value) {
        return wordnames::listedBefore(row->second.name, value);
    });
}

qsizetype WordList::rowFor(const QString &name) const
{
    const auto after = std::upper_bound(m_rows.cbegin(), m_rows.cend(), name, [](const QString &value, const Row row) {
        return wordnames::listedBefore(value, row->second.name);
    });
    return after - m_rows.cbegin();
}

} // namespace mirvo
