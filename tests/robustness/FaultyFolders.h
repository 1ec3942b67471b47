#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace mirvo::test {

bool runningAsRoot();

/// A tmpfs mounted over a folder while the object lives (root only; mounted() tells).
class ScratchMount
{
public:
    ScratchMount(const QString &folder, const QByteArray &options);
    ~ScratchMount();
    ScratchMount(const ScratchMount &) = delete;
    ScratchMount &operator=(const ScratchMount &) = delete;

    bool mounted() const { return m_mounted; }
    QString problem() const { return m_problem; }
    bool remountReadOnly();

private:
    QByteArray m_folder;
    QByteArray m_options;
    bool m_mounted = false;
    QString m_problem;
};

/// Makes a folder refuse changes by the means the user has: as root a tmpfs mounted over it
/// and later remounted read-only (root ignores modes), otherwise a mode without write.
/// Between prepare() and seal() the folder takes files as usual.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &folder) : m_folder(folder) {}
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    /// False (with problem()) when the folder cannot be made read-only here.
    bool prepare();
    bool seal();
    QString problem() const { return m_problem; }

private:
    QString m_folder;
    std::unique_ptr<ScratchMount> m_mount;
    bool m_sealed = false;
    QString m_problem;
};

/// Runs the whole process as an unprivileged user while the object lives, real ids included,
/// so that access() (behind QFileInfo::isWritable()) answers for root as for anyone else.
/// Root's ids stay saved and come back at the end. Does nothing when not root or not asked.
class UnprivilegedUser
{
public:
    explicit UnprivilegedUser(bool drop = true);
    ~UnprivilegedUser();
    UnprivilegedUser(const UnprivilegedUser &) = delete;
    UnprivilegedUser &operator=(const UnprivilegedUser &) = delete;

    /// False when root was asked to give up its ids and could not.
    bool ready() const { return !m_failed; }

private:
    bool m_groupDropped = false;
    bool m_userDropped = false;
    bool m_failed = false;
};

/// Lets other users pass through a folder and its parents inside the temporary folder
/// (a QTemporaryDir is private to its owner).
bool openForOthers(const QString &folder);

/// Makes a named pipe at path; false where pipes cannot live in a folder.
bool makeNamedPipe(const QString &path);

/// Holds a file open as an editor may, without letting it be deleted, while the object lives;
/// held() is false where an open file never stops its deletion (Linux).
class HeldFile
{
public:
    explicit HeldFile(const QString &path);
    ~HeldFile();
    HeldFile(const HeldFile &) = delete;
    HeldFile &operator=(const HeldFile &) = delete;

    bool held() const { return m_handle != -1; }

private:
    qintptr m_handle = -1;
};

} // namespace mirvo::test
