#pragma once

#include <QListView>
#include <QPersistentModelIndex>

namespace mirvo {

/// The list of words on the window: a plain view of a list model (the store's WordList),
/// which tells when the user chooses a word.
class FileListBox : public QListView
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    /// Selects the row from code, scrolled into view; tells nothing.
    void select(int row);
    /// The selected row, or -1 when nothing is selected.
    int selectedRow() const;

Q_SIGNALS:
    /// The user chose a word: a mouse click on a row, the selected one too, or the selection
    /// moved by arrow, Home, End and page keys, by dragging or by typing; once per change.
    void entryClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    // The selection decides, not the current row, which moves without it.
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

private:
    void onSelectionMoved();
    void onClicked();

    QPersistentModelIndex m_told; ///< the row last told of, or selected from code
    bool m_selectingFromCode = false;
    bool m_movedByPress = false; ///< the last press already told of its row
};

} // namespace mirvo
