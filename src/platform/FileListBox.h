#pragma once

#include <QTableView>
#include <QStringList>

#include <functional>

namespace mirvo {

class NameListModel;

/// A list of the file names in one folder: ordinary files only, no folders, no hidden or
/// system files. The listing is a snapshot until refresh().
class FileListBox : public QTableView
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    /// Shows folder, read whole.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    /// Brings the list up to date with the folder on the disk, applying what changed as
    /// removed and inserted rows, so the view keeps its scroll position. Where the system
    /// tells what changed, only those names are looked at; otherwise the folder is read whole.
    void refresh();

    int count() const;
    /// Selects the entry at a zero-based position; does not raise entryClicked().
    void select(int position);
    /// The selected name, or an empty string when nothing is selected.
    QString selectedName() const;
    QString nameAt(int position) const;

    /// The names a listing of folder holds, in the order the list shows them.
    static QStringList listFolder(const QString &folder);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void changeEvent(QEvent *event) override;
    // Tell assistive technology of the entry by its row: the table's own events number the
    // cells of a grid with headers, which the list does not show it.
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

Q_SIGNALS:
    /// The user selected another entry: mouse press or drag, arrow, Home, End and page
    /// keys, type-ahead. Raised once per change.
    void entryClicked();

private:
    void onSelectionMoved();
    void fitRowHeight();
    void keepingSelection(const std::function<void()> &change);
    int selectedRow() const;

    QString m_folder;
    NameListModel *m_model;
    int m_announcedRow = -1; ///< the selected row last told of, or selected from code
    bool m_selectingFromCode = false;
};

} // namespace mirvo
