#include "platform/FileListBox.h"

#include "platform/FolderListing.h"

#include <QAbstractListModel>

#include <vector>

namespace mirvo {

/// The names of the listing, changed row by row on a refresh.
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

    /// Turns the names into fresh, both in listing order: each run of names gone is removed
    /// and each run of new names inserted; when the runs are many, the list is replaced.
    void update(QStringList fresh)
    {
        struct Run
        {
            qsizetype row;    // where, in the list as changed by the runs before
            qsizetype from;   // insertions: first index in fresh
            qsizetype length;
            bool insert;
        };
        // Every run shifts the rows after it, so past a few runs one reset is cheaper.
        constexpr size_t manyRuns = 16;
        std::vector<Run> runs;
        qsizetype old = 0;
        qsizetype next = 0;
        qsizetype row = 0;
        while ((old < m_names.size() || next < fresh.size()) && runs.size() <= manyRuns) {
            if (old < m_names.size() && next < fresh.size() && m_names.at(old) == fresh.at(next)) {
                ++old, ++next, ++row;
                continue;
            }
            qsizetype end = old;
            while (end < m_names.size() && (next == fresh.size() || listedBefore(m_names.at(end), fresh.at(next))))
                ++end;
            if (end > old) {
                runs.push_back({row, 0, end - old, false});
                old = end;
                continue;
            }
            end = next;
            while (end < fresh.size() && (old == m_names.size() || listedBefore(fresh.at(end), m_names.at(old))))
                ++end;
            runs.push_back({row, next, end - next, true});
            row += end - next;
            next = end;
        }
        if (runs.size() > manyRuns) {
            beginResetModel();
            m_names = std::move(fresh);
            endResetModel();
            return;
        }
        for (const Run &run : runs) {
            const int first = static_cast<int>(run.row);
            const int last = static_cast<int>(run.row + run.length - 1);
            if (run.insert) {
                beginInsertRows({}, first, last);
                m_names.insert(run.row, run.length, QString());
                std::copy(fresh.cbegin() + run.from, fresh.cbegin() + run.from + run.length,
                          m_names.begin() + run.row);
                endInsertRows();
            } else {
                beginRemoveRows({}, first, last);
                m_names.remove(run.row, run.length);
                endRemoveRows();
            }
        }
    }

private:
    QStringList m_names;
};

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
    m_model->update(listFolder(m_folder));
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
