#include "widgets/FileListBox.h"

#include <QMouseEvent>

namespace mirvo {

FileListBox::FileListBox(QWidget *parent)
    : QListView(parent)
{
    // Rows of one height: a row that comes or goes moves the others without measuring them.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QAbstractItemView::clicked, this, &FileListBox::onClicked);
}

void FileListBox::select(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    m_selectingFromCode = true;
    setCurrentIndex(index); // and scrolled to
    m_selectingFromCode = false;
    m_told = index;
}

int FileListBox::selectedRow() const
{
    // The selection, not the current row: assistive technology selects an item without
    // making it current.
    const QModelIndexList selected = selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void FileListBox::mousePressEvent(QMouseEvent *event)
{
    m_movedByPress = false;
    QListView::mousePressEvent(event);
}

void FileListBox::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    // The view would select the removed word's neighbour; a refresh is not the user's choice,
    // so the word simply goes, and nothing is selected.
    const int selected = selectedRow();
    if (selected >= start && selected <= end) {
        m_selectingFromCode = true;
        selectionModel()->clear();
        m_selectingFromCode = false;
    }
    QListView::rowsAboutToBeRemoved(parent, start, end);
}

void FileListBox::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QListView::selectionChanged(selected, deselected);
    onSelectionMoved();
}

void FileListBox::onSelectionMoved()
{
    const int row = selectedRow();
    const QModelIndex selected = row < 0 ? QModelIndex() : model()->index(row, 0);
    if (m_selectingFromCode || selected == m_told)
        return;
    m_told = selected;
    if (row < 0)
        return;
    m_movedByPress = true;
    emit entryClicked();
}

void FileListBox::onClicked()
{
    // A click that moved the selection has told already; one on the selected word asks it again.
    if (!m_movedByPress && selectedRow() >= 0)
        emit entryClicked();
    m_movedByPress = false;
}

} // namespace mirvo
