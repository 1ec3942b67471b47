#pragma once

#include <QListView>
#include <QStringList>

namespace mirvo {

class NameListModel;

/// A list of the file names in one folder: ordinary files only, no folders, no hidden or
/// system files. The listing is a snapshot until refresh().
class FileListBox : public QListView
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    /// Re-reads the folder and applies what changed as removed and inserted rows, so the
    /// view keeps its scroll position.
    void refresh();

    int count() const;
    /// Selects the entry at a zero-based position; does not raise entryClicked().
    void select(int position);
    /// The selected name, or an empty string when nothing is selected.
    QString selectedName() const;
    QString nameAt(int position) const;

    /// The names a listing of folder holds, in the order the list shows them.
    static QStringList listFolder(const QString &folder);

Q_SIGNALS:
    /// The user selected another entry: mouse press or drag, arrow, Home, End and page
    /// keys, type-ahead. Raised once per change.
    void entryClicked();

private:
    void onSelectionMoved();
    int selectedRow() const;

    QString m_folder;
    NameListModel *m_model;
    int m_announcedRow = -1; ///< the selected row last told of, or selected from code
    bool m_selectingFromCode = false;
};

} // namespace mirvo
