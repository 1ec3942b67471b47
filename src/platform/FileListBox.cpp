#include "platform/FileListBox.h"

#include <QDir>
#include <QStringListModel>

namespace mirvo {

FileListBox::FileListBox(QWidget *parent)
    : QListView(parent)
    , m_model(new QStringListModel(this))
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
    // Without QDir::Hidden and QDir::System, hidden files and special files are left out.
    return QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

void FileListBox::setFolder(const QString &folder)
{
    m_folder = folder;
    refresh();
}

void FileListBox::refresh()
{
    m_names = listFolder(m_folder);
    m_model->setStringList(m_names);
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
    return row < 0 ? QString() : m_names.at(row);
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
