#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace mirvo {

class WordList;

/// The store of words still to learn: one file per word in one folder, named by the word,
/// whose first line is the meaning. Every call goes to the disk; nothing is cached.
/// Failures return false (or nothing) with a message for the user in *error.
class WordStore
{
public:
    explicit WordStore(const QString &folder);
    WordStore(const WordStore &) = delete;
    WordStore &operator=(const WordStore &) = delete;
    ~WordStore();

    QString folder() const { return m_folder; }
    /// The words the folder holds, as last read: the store's view of its folder, which reading
    /// changes no entry.
    WordList &words() const { return *m_words; }
    QString entryPath(const QString &word) const;

    bool exists() const;
    [[nodiscard]] bool create(QString *error) const;

    /// Creates or replaces the entry atomically: the old entry stays whole until the new
    /// one is complete, and no partial or temporary file is ever listed.
    [[nodiscard]] bool writeEntry(const QString &word, const QString &meaning, QString *error) const;

    /// The entry's first line without its line end (CR LF, LF or CR); reads nothing more.
    std::optional<QString> readMeaning(const QString &word, QString *error) const;

    /// Deletes the entry; an entry that is already gone counts as deleted.
    [[nodiscard]] bool deleteEntry(const QString &word, QString *error) const;

    /// Removes the store folder, which must be empty; its files are never touched.
    [[nodiscard]] bool removeStore(QString *error) const;

    /// Flushes the folder's directory entries to disk (after a batch of writes).
    void syncFolder() const;

    /// Writes many entries, as writeEntry() does, through one handle on the folder: an
    /// import's path lookups are the folder's once, not once per entry.
    class Writer
    {
    public:
        explicit Writer(const WordStore &store);
        Writer(const Writer &) = delete;
        Writer &operator=(const Writer &) = delete;
        ~Writer();

        [[nodiscard]] bool write(const QString &word, const QString &meaning, QString *error);
        /// Whether the folder written to is still the store's: one moved away or replaced
        /// while the handle was held has received the entries instead.
        [[nodiscard]] bool wroteIntoStore(QString *error) const;

    private:
        const WordStore &m_store;
        int m_folder = -1;    ///< the folder, open, where the system has such handles
        int m_openError = 0;  ///< why it could not be opened
    };

    /// Whether a word can name an entry inside the folder and be listed; else why not.
    static bool isSafeWord(const QString &word, QString *reason);

private:
    static bool isEntryName(const QString &word, QString *reason);

    QString m_folder;
    std::unique_ptr<WordList> m_words;
};

} // namespace mirvo
