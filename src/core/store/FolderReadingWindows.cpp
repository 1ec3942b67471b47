// Reads the folder with FindFirstFileExW, whose entries carry their attributes: only links cost
// a look at their target, and every error is told (Qt's iterator tells none, so a folder it
// may not list reads as empty).
#include "core/store/FolderReading.h"

#include "core/store/WindowsEntries.h"
#include "core/store/WordNames.h"
#include "core/text/SystemError.h"

#include <cwchar>

namespace mirvo {

namespace {

/// Whether a link leads to an ordinary file; a broken one leads nowhere.
bool leadsToFile(const std::wstring &path)
{
    const HANDLE target = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (target == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool file = GetFileInformationByHandle(target, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        && GetFileType(target) == FILE_TYPE_DISK;
    CloseHandle(target);
    return file;
}

} // namespace

FolderReading readWordFiles(const QString &folder, const std::function<void(std::string_view)> &found)
{
    FolderReading reading;
    const std::wstring path = widePath(folder);
    WIN32_FIND_DATAW entry;
    const HANDLE listing = FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                            nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (listing == INVALID_HANDLE_VALUE) {
        reading.problem = readingProblem(folder, lastSystemError());
        return reading;
    }
    NameBytes bytes;
    do {
        const std::string_view name = utf8Name(entry.cFileName, std::wcslen(entry.cFileName), bytes);
        if (!wordnames::isWord(name))
            continue;
        switch (entryKind(entry)) {
        case EntryKind::Word: found(name); break;
        case EntryKind::NotWord: break;
        case EntryKind::Link:
            // Its target may change elsewhere, untold by this folder's notices.
            reading.byFolderAlone = false;
            if (leadsToFile(path + L'\\' + entry.cFileName))
                found(name);
            break;
        }
    } while (FindNextFileW(listing, &entry));
    const int end = lastSystemError();
    if (end != ERROR_NO_MORE_FILES)
        reading.problem = systemErrorText(end);
    FindClose(listing);
    return reading;
}

QString readingProblem(const QString &folder, int code)
{
    // The folder itself tells what a refused listing means: FindFirstFileExW calls a file in its
    // place a bad name, and finds no name at all in an empty root.
    const DWORD attributes = GetFileAttributesW(widePath(folder).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return systemErrorText(ERROR_DIRECTORY);
    if (code == ERROR_FILE_NOT_FOUND && attributes != INVALID_FILE_ATTRIBUTES)
        return {};
    return systemErrorText(code);
}

QString nameFromBytes(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace mirvo
