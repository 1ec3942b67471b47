// Follows the folder with ReadDirectoryChangesW between whole readings: one overlapped request
// always pending, whose result is looked at without waiting.
#include "core/store/FolderWatch.h"

#include "core/store/WindowsEntries.h"
#include "core/store/WordNames.h"

#include <map>

namespace mirvo {

namespace {

constexpr DWORD everyShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A hidden or system mark set or cleared adds a word to the listing or takes one away.
constexpr DWORD noticed = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;

/// Which folder a handle holds: its volume and its number on it.
struct Identity
{
    DWORD volume = 0;
    quint64 index = 0;
    bool operator==(const Identity &) const = default;
};

std::optional<Identity> identityOf(HANDLE folder)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(folder, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return Identity{info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::optional<Identity> identityAt(const std::wstring &path)
{
    // Opened for listing, as a reading opens it: a folder that may no longer be listed is none.
    const HANDLE folder = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, everyShare, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const auto identity = identityOf(folder);
    CloseHandle(folder);
    return identity;
}

/// Whether notices on the folder's volume tell every change: a network share's server need
/// not pass on what other machines or the server itself change.
bool noticesEverything(const std::wstring &path)
{
    wchar_t volume[MAX_PATH + 1];
    return GetVolumePathNameW(path.c_str(), volume, MAX_PATH + 1) && GetDriveTypeW(volume) != DRIVE_REMOTE;
}

} // namespace

struct FolderWatch::Notices
{
    HANDLE folder = INVALID_HANDLE_VALUE; ///< held open while followed, any program may still move or delete it
    Identity identity;
    std::wstring path;
    OVERLAPPED request{};
    bool pending = false; ///< a request is out, writing into buffer
    alignas(DWORD) char buffer[64 * 1024];

    bool ask()
    {
        ResetEvent(request.hEvent);
        pending = ReadDirectoryChangesW(folder, buffer, sizeof buffer, FALSE, noticed, nullptr, &request, nullptr);
        return pending;
    }
};

FolderWatch::FolderWatch()
    : m_notices(std::make_unique<Notices>())
{
    m_notices->request.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

FolderWatch::~FolderWatch()
{
    forget();
    if (m_notices->request.hEvent)
        CloseHandle(m_notices->request.hEvent);
}

void FolderWatch::forget()
{
    Notices &notices = *m_notices;
    if (notices.folder == INVALID_HANDLE_VALUE)
        return;
    // The request writes into the buffer until it is known to be cancelled.
    if (notices.pending) {
        CancelIoEx(notices.folder, &notices.request);
        DWORD got = 0;
        GetOverlappedResult(notices.folder, &notices.request, &got, TRUE);
        notices.pending = false;
    }
    CloseHandle(notices.folder);
    notices.folder = INVALID_HANDLE_VALUE;
}

void FolderWatch::follow(const QString &folder)
{
    forget();
    Notices &notices = *m_notices;
    notices.path = widePath(folder);
    if (!notices.request.hEvent || !noticesEverything(notices.path))
        return;
    notices.folder = CreateFileW(notices.path.c_str(), FILE_LIST_DIRECTORY, everyShare, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (notices.folder == INVALID_HANDLE_VALUE)
        return;
    const auto identity = identityOf(notices.folder);
    if (!identity || !notices.ask()) {
        forget();
        return;
    }
    notices.identity = *identity;
}

std::optional<std::vector<FolderWatch::Change>> FolderWatch::takeChanges(size_t limit)
{
    Notices &notices = *m_notices;
    if (notices.folder == INVALID_HANDLE_VALUE)
        return std::nullopt;
    // Moved, replaced or deleted: the folder held open need not tell.
    if (identityAt(notices.path) != notices.identity) {
        forget();
        return std::nullopt;
    }
    // Each name with what its last notice told: gone (deleted, renamed away) or there.
    std::map<std::string, bool> toldGone;
    NameBytes bytes;
    for (;;) {
        DWORD got = 0;
        if (!GetOverlappedResult(notices.folder, &notices.request, &got, FALSE)) {
            if (GetLastError() == ERROR_IO_INCOMPLETE)
                break;
            forget(); // the folder or its volume gone
            return std::nullopt;
        }
        notices.pending = false;
        // Nothing returned: more changed than the system could keep.
        if (got == 0) {
            forget();
            return std::nullopt;
        }
        for (DWORD at = 0; at < got;) {
            const auto *notice = reinterpret_cast<const FILE_NOTIFY_INFORMATION *>(notices.buffer + at);
            const std::string_view name = utf8Name(notice->FileName, notice->FileNameLength / sizeof(WCHAR), bytes);
            if (wordnames::isWord(name))
                toldGone.insert_or_assign(std::string(name), notice->Action == FILE_ACTION_REMOVED
                                                                 || notice->Action == FILE_ACTION_RENAMED_OLD_NAME);
            if (notice->NextEntryOffset == 0)
                break;
            at += notice->NextEntryOffset;
        }
        if (!notices.ask()) {
            forget();
            return std::nullopt;
        }
        if (toldGone.size() > limit) // an import's worth: a reading is cheaper
            return std::nullopt;
    }

    std::vector<Change> changes;
    changes.reserve(toldGone.size());
    for (const auto &[name, gone] : toldGone) {
        // A name told gone is gone: the notices come in order, and a file that another name
        // still reaches (a rename in another case) is told under that name too. Only a short
        // name does not say which long name went.
        if (gone) {
            if (name.find('~') != std::string::npos)
                return std::nullopt;
            changes.push_back({name, false});
            continue;
        }
        const std::wstring told = QString::fromUtf8(name.data(), qsizetype(name.size())).toStdWString();
        WIN32_FIND_DATAW entry;
        const HANDLE found = FindFirstFileExW((notices.path + L'\\' + told).c_str(), FindExInfoBasic, &entry,
                                              FindExSearchNameMatch, nullptr, 0);
        if (found == INVALID_HANDLE_VALUE) {
            if (const DWORD error = GetLastError(); error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
                return std::nullopt;
            changes.push_back({name, false});
            continue;
        }
        FindClose(found);
        // Found under another name (its short name, or in another case), or a link whose target
        // can change untold: only a reading can tell.
        const EntryKind kind = entryKind(entry);
        if (told != entry.cFileName || kind == EntryKind::Link)
            return std::nullopt;
        changes.push_back({name, kind == EntryKind::Word});
    }
    return changes;
}

} // namespace mirvo
