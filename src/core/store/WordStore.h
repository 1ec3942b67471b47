#pragma once

#include "core/store/EntryName.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace mirvo {

class EntryReader;
class WordList;

/// An entry as it was before its deletion, for restoreEntry().
struct SavedEntry
{
    EntryName name;
    QByteArray content;
};

/// The store of words still to learn: one file per word in one folder, named by the word,
/// whose first line is the meaning. Every call goes to the disk; nothing is cached but the
/// list of words, which the store keeps current with what it writes and deletes itself.
/// Failures return false (or nothing) with a message for the user in *error.
class WordStore
{
public:
    explicit WordStore(const QString &folder);
    WordStore(const WordStore &) = delete;
    WordStore &operator=(const WordStore &) = delete;
    ~WordStore();

    QString folder() const { return m_folder; }
    /// The words the folder holds: what the store wrote and deleted itself at once, changes
    /// made outside the program as of the last refresh() or reread().
    const WordList &words() const { return *m_words; }
    /// The same list, for a view (Qt's views take a model they may call). Only the store
    /// changes its rows.
    WordList &words() { return *m_words; }
    QString entryPath(const QString &word) const;

    /// Follows changes made outside the program: from the folder's change notices where they
    /// tell what changed, else by reading the folder whole.
    [[nodiscard]] bool refresh(QString *error);
    /// Reads the folder whole. When it cannot be read the list is emptied.
    [[nodiscard]] bool reread(QString *error);

    bool exists() const;
    [[nodiscard]] bool create(QString *error);

    /// Creates or replaces the entry atomically: the old entry stays whole until the new one is
    /// complete, and no partial file is ever listed. Its temporary is hidden; only on Windows can
    /// a crash in the instant between showing it and giving it the word's name leave it listed
    /// (a `.mirvo-*.tmp`, cleared with the store).
    [[nodiscard]] bool writeEntry(const QString &word, const QString &meaning, QString *error);

    /// The entry's first line without its line end (CR LF, LF or CR); reads nothing more.
    std::optional<QString> readMeaning(const QString &word, QString *error) const;

    /// The entry's name and bytes, whole, as restoreEntry() takes them; an entry too large to
    /// be kept in memory is refused.
    std::optional<SavedEntry> readEntry(const QString &word, QString *error) const;

    /// Writes a deleted entry back as it was, under its own name, atomically, and lists it
    /// again. An entry made again meanwhile under that name is left as it is (and counts as
    /// restored).
    [[nodiscard]] bool restoreEntry(const SavedEntry &entry, QString *error);

    /// Deletes the entry. One that is already gone is an error too, and leaves the list.
    [[nodiscard]] bool deleteEntry(const QString &word, QString *error);

    /// Removes the store folder, which must be empty; its files are never touched.
    [[nodiscard]] bool removeStore(QString *error);

    /// Flushes the folder's directory entries to disk (after a batch of writes).
    void syncFolder() const;

    /// Writes many entries, as writeEntry() does, through one handle on the folder: an
    /// import's path lookups are the folder's once, not once per entry. The words written
    /// join the list in one batch when the writer goes.
    class Writer
    {
    public:
        explicit Writer(WordStore &store);
        Writer(const Writer &) = delete;
        Writer &operator=(const Writer &) = delete;
        ~Writer();

        [[nodiscard]] bool write(const QString &word, const QString &meaning, QString *error);
        /// Writes content as the entry unless one of that name is there, which stays.
        [[nodiscard]] bool restore(const EntryName &name, const QByteArray &content, QString *error);
        /// Whether the folder written to is still the store's: one moved away or replaced
        /// while the handle was held has received the entries instead.
        [[nodiscard]] bool wroteIntoStore(QString *error) const;

    private:
        enum class Existing { Replace, Keep };
        /// Writes content into a hidden temporary and renames it to the entry.
        bool place(EntryName name, const QByteArray &content, Existing existing, QString *error);

        /// Lists the words written when the writer goes, whichever way its work ended.
        struct Written
        {
            WordStore &store;
            std::vector<EntryName> names;
            ~Written();
        };

        WordStore &m_store;
        int m_folder = -1;    ///< the folder, open, where the system has such handles
        int m_openError = 0;  ///< why it could not be opened
        Written m_written{m_store, {}};
    };

    /// Whether a word can name an entry inside the folder and be listed; else why not.
    static bool isSafeWord(const QString &word, QString *reason);

private:
    static bool isEntryName(const QString &word, QString *reason);
    /// The word's entry: a listed word's by the name's bytes the folder gave, another's by the
    /// system's encoding of the word.
    EntryName entryName(const QString &word) const;
    bool openEntry(const EntryName &name, EntryReader &entry, QString *error) const;

    QString m_folder;
    std::unique_ptr<WordList> m_words;
};

} // namespace mirvo
