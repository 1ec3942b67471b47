// Entries by their Unicode names: Windows names are UTF-16, so the word is the name.
#include "core/store/EntryFile.h"

#include "core/store/WindowsEntries.h"
#include "core/text/SystemError.h"

#include <limits>

namespace mirvo {

namespace {

std::wstring pathOf(const QString &folder, const EntryName &name)
{
    return widePath(folder + QLatin1Char('/') + name.word);
}

} // namespace

EntryReader::~EntryReader()
{
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

bool EntryReader::open(const QString &folder, const EntryName &name)
{
    // Backup semantics open a folder too, so that it is told as one rather than as a refusal.
    const HANDLE file = CreateFileW(pathOf(folder, name).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        m_problem = systemErrorText(lastSystemError());
        return false;
    }
    m_handle = reinterpret_cast<qintptr>(file);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info))
        m_problem = systemErrorText(lastSystemError());
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        m_problem = entryIsFolder;
    else if (GetFileType(file) != FILE_TYPE_DISK)
        m_problem = entryIsNoFile;
    m_size = m_problem.isEmpty() ? (qint64(info.nFileSizeHigh) << 32 | info.nFileSizeLow) : 0;
    return m_problem.isEmpty();
}

qint64 EntryReader::read(char *buffer, qint64 size)
{
    DWORD got = 0;
    const DWORD asked = DWORD(qMin<qint64>(size, std::numeric_limits<DWORD>::max()));
    if (!ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer, asked, &got, nullptr)) {
        m_problem = systemErrorText(lastSystemError());
        return -1;
    }
    return qint64(got);
}

int removeEntryFile(const QString &folder, const EntryName &name)
{
    return DeleteFileW(pathOf(folder, name).c_str()) ? 0 : lastSystemError();
}

bool meansNoSuchFile(int code)
{
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

} // namespace mirvo
