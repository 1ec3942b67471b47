#include "platform/FileListBox.h"

#include <QDir>
#include <QKeyEvent>
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
    connect(this, &QListView::clicked, this, &FileListBox::onClicked);
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
}

void FileListBox::select(int position)
{
    if (position < 0 || position >= count())
        return;
    setCurrentIndex(m_model->index(position));
}

QString FileListBox::selectedName() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return {};
    return m_names.at(current.row());
}

void FileListBox::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    if (currentIndex() != before && currentIndex().isValid())
        emit entryClicked();
}

void FileListBox::onClicked(const QModelIndex &index)
{
    if (index.isValid())
        emit entryClicked();
}

} // namespace mirvo
