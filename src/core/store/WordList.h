#pragma once

#include "core/store/EntryName.h"
#include "core/store/FolderWatch.h"
#include "core/store/ReadingOrder.h"

#include <QAbstractListModel>
#include <QStringList>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mirvo {

/// The words of the store as a list model: the names of the ordinary files in its folder
/// that are words, in listing order. Its store edits the rows as it writes and deletes
/// entries; changes made outside the program show at refresh() or reread().
class WordList : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit WordList(const QString &folder, QObject *parent = nullptr);
    ~WordList() override;

    QString folder() const { return m_folder; }

    /// Reads the folder whole. What changed is applied as removed and inserted rows, or as a
    /// reset past many separate changes. When the folder cannot be read the list is emptied
    /// and *error says why.
    [[nodiscard]] bool reread(QString *error = nullptr);
    /// Brings the list up to date: from the folder's change notices where they tell what
    /// changed, else by reading it whole.
    [[nodiscard]] bool refresh(QString *error = nullptr);
    /// Whether the last reading failed (the list is then empty).
    bool failed() const { return m_failed; }
    /// Stops following the folder's changes, which may hold it open (on Windows), so that it
    /// can be removed; the next refresh reads it whole.
    void releaseFolder() { m_watch.forget(); }

    int count() const { return static_cast<int>(m_rows.size()); }
    QString nameAt(int row) const { return m_rows.at(size_t(row))->second.name; }
    /// The row of a listed name, or -1. Of names listed twice (the same text from two names'
    /// bytes), the first.
    int rowOf(const QString &name) const;
    QStringList names() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    friend class WordStore;
    /// Past this many separate runs of changes (an import), one reset is cheaper for the views
    /// than moving rows run by run; and as many notices are worth no more than a reading.
    static constexpr size_t manyRuns = 16;

    /// The store wrote these entries: names not listed yet join the rows in listing order, in
    /// one batch of row signals (a reset past many separate runs).
    void insertNames(const std::vector<EntryName> &names);
    /// The store deleted the entry of these bytes.
    void removeName(const std::string &bytes);

    struct Word
    {
        QString name;
        quint64 seen = 0; ///< the reading that last found it
    };
    struct BytesHash
    {
        using is_transparent = void;
        size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
    };
    using Words = std::unordered_map<std::string, Word, BytesHash, std::equal_to<>>;
    using Row = Words::value_type *;
    /// A name a reading found that the list does not hold yet.
    struct Added
    {
        QString lower; ///< the sort key, made once
        QString name;
        std::string bytes;
    };

    /// The bytes of a listed name, as the folder gave them; for another, the system's encoding
    /// of it. A name that is not in the file system's encoding is found by its text.
    std::string bytesOf(const QString &name) const;
    /// A name's word: by its bytes in the system's encoding, else by its text.
    Words::const_iterator find(const QString &name, const std::string &bytes) const;

    bool giveUp(const QString &problem, QString *error);
    void markFollowed();
    bool applyChanges(const std::vector<FolderWatch::Change> &changes);
    static void sortAdded(std::vector<Added> &added);
    void applyReading(std::vector<Added> &added);
    void resetRows(std::vector<Added> &added);
    Row remember(Added &added);
    void insertRow(Added &added);
    void removeRow(std::vector<Row>::const_iterator row);
    std::vector<Row>::const_iterator rowIn(Words::const_iterator known) const;
    std::vector<Row>::const_iterator firstRowNotBefore(const QString &name) const;
    qsizetype rowFor(const QString &name) const;

    QString m_folder;
    Words m_words;           ///< by the name's bytes; each row points into it
    std::vector<Row> m_rows; ///< in listing order
    quint64 m_reading = 0;
    bool m_failed = false;
    FolderWatch m_watch;
    ReadingOrder m_order;
};

} // namespace mirvo
