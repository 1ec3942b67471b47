// The word list's whole readings of its folder.
#include "core/store/WordList.h"

#include "core/store/FolderReading.h"
#include "core/store/WordNames.h"
#include "core/store/WordStorePlatform.h"

#include <algorithm>

namespace mirvo {

namespace {

template<typename Added>
bool addedBefore(const Added &a, const Added &b)
{
    if (const int byLower = a.lower.compare(b.lower))
        return byLower < 0;
    if (const int byName = a.name.compare(b.name))
        return byName < 0;
    return a.bytes < b.bytes;
}

} // namespace

bool WordList::reread(QString *error)
{
    // Followed before the reading, so that nothing changing after it is missed.
    m_watch.follow(m_folder);
    std::vector<Added> added;
    bool marked = false;
    m_order.begin();
    const FolderReading result = readWordFiles(m_folder, [&](std::string_view bytes) {
        // Unchanged, the folder gives its names in the last reading's order: nothing to do.
        if (m_order.follows(bytes))
            return;
        if (!marked) {
            markFollowed();
            marked = true;
        }
        // Past a change, a name already listed costs a lookup: no decoding, no sorting.
        if (const auto known = m_words.find(bytes); known != m_words.end())
            known->second.seen = m_reading;
        else
            added.push_back({QString(), QString(), std::string(bytes)});
    });
    if (!result.problem.isEmpty())
        return giveUp(result.problem, error);
    if (!result.byFolderAlone)
        m_watch.forget();
    m_failed = false;
    if (!m_order.left())
        return true;
    if (!marked)
        markFollowed();
    m_order.end();
    for (Added &name : added) {
        name.name = nameFromBytes(name.bytes);
        name.lower = name.name.toLower();
    }
    sortAdded(added);
    applyReading(added);
    return true;
}

void WordList::sortAdded(std::vector<Added> &added)
{
    std::sort(added.begin(), added.end(), addedBefore<Added>);
    // A name given twice (removed and made again during a reading) is one row.
    added.erase(std::unique(added.begin(), added.end(),
                            [](const Added &a, const Added &b) { return a.bytes == b.bytes; }),
                added.end());
}

void WordList::markFollowed()
{
    // A new mark only when something changed: an unchanged folder leaves every row the current
    // reading's, which the store's own insertions rely on.
    ++m_reading;
    for (const std::string_view name : m_order.followedNames()) {
        if (const auto known = m_words.find(name); known != m_words.end())
            known->second.seen = m_reading;
    }
}

bool WordList::giveUp(const QString &problem, QString *error)
{
    m_failed = true;
    m_order.forget();
    m_watch.forget();
    // What the folder held can no longer be told: a list of it would offer words that fail.
    beginResetModel();
    m_rows.clear();
    m_words.clear();
    endResetModel();
    return fail(error, QStringLiteral("无法读取词库文件夹“%1”：%2").arg(native(m_folder), problem));
}

void WordList::applyReading(std::vector<Added> &added)
{
    // The rows and the new names in one sorted walk: how many separate runs changed?
    size_t runs = 0;
    enum class Kind { Kept, Gone, New } previous = Kind::Kept;
    for (size_t row = 0, next = 0; row < m_rows.size() || next < added.size();) {
        Kind kind;
        if (next < added.size()
            && (row == m_rows.size() || wordnames::listedBefore(added[next].name, m_rows[row]->second.name))) {
            kind = Kind::New;
            ++next;
        } else {
            kind = m_rows[row]->second.seen == m_reading ? Kind::Kept : Kind::Gone;
            ++row;
        }
        runs += kind != Kind::Kept && kind != previous;
        previous = kind;
    }
    if (runs == 0)
        return;
    if (runs > manyRuns || m_rows.empty()) {
        resetRows(added);
        return;
    }

    for (size_t end = m_rows.size(); end > 0;) {
        if (m_rows[end - 1]->second.seen == m_reading) {
            --end;
            continue;
        }
        size_t first = end - 1;
        while (first > 0 && m_rows[first - 1]->second.seen != m_reading)
            --first;
        beginRemoveRows({}, int(first), int(end - 1));
        std::vector<Row> gone(m_rows.begin() + qsizetype(first), m_rows.begin() + qsizetype(end));
        m_rows.erase(m_rows.begin() + qsizetype(first), m_rows.begin() + qsizetype(end));
        endRemoveRows();
        for (const Row row : gone)
            m_words.erase(row->first);
        end = first;
    }
    // From the last new name back, so the rows found for the earlier ones stay where they are.
    for (size_t end = added.size(); end > 0;) {
        const qsizetype row = rowFor(added[end - 1].name);
        size_t first = end - 1;
        while (first > 0 && rowFor(added[first - 1].name) == row)
            --first;
        beginInsertRows({}, int(row), int(row + qsizetype(end - first) - 1));
        std::vector<Row> rows;
        for (size_t i = first; i < end; ++i)
            rows.push_back(remember(added[i]));
        m_rows.insert(m_rows.begin() + row, rows.begin(), rows.end());
        endInsertRows();
        end = first;
    }
}

void WordList::resetRows(std::vector<Added> &added)
{
    std::vector<Row> rows;
    rows.reserve(m_rows.size() + added.size());
    std::vector<Row> gone;
    for (size_t row = 0, next = 0; row < m_rows.size() || next < added.size();) {
        if (next < added.size()
            && (row == m_rows.size() || wordnames::listedBefore(added[next].name, m_rows[row]->second.name)))
            rows.push_back(remember(added[next++]));
        else if (m_rows[row]->second.seen == m_reading)
            rows.push_back(m_rows[row++]);
        else
            gone.push_back(m_rows[row++]);
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    for (const Row row : gone)
        m_words.erase(row->first);
}

} // namespace mirvo
