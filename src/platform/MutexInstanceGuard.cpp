#include "platform/InstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <qt_windows.h>

#include <string>

namespace mirvo {

namespace {

/// The path as Windows compares paths: absolute, with long names and native separators, in
/// the file system's case-blind form, so each spelling of one program gives one name.
QString comparablePath(const QString &executablePath)
{
    const std::wstring given = QDir::toNativeSeparators(QFileInfo(executablePath).absoluteFilePath()).toStdWString();
    std::wstring path = given;
    // A program started through its short (8.3) name is still the same program.
    const DWORD length = GetLongPathNameW(given.c_str(), nullptr, 0);
    std::wstring longPath(length, L'\0');
    if (length > 0 && GetLongPathNameW(given.c_str(), longPath.data(), length) == length - 1)
        path = longPath.substr(0, length - 1);
    // File systems fold case by the invariant table, one unit for one, never by the user's language.
    std::wstring upper(path.size(), L'\0');
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.c_str(), int(path.size()), upper.data(),
                      int(upper.size()), nullptr, nullptr, 0) != int(path.size()))
        return QString::fromStdWString(path).toUpper();
    return QString::fromStdWString(upper);
}

/// A named mutex in the session's namespace: Windows closes it with the last process that holds
/// it, so no instance that ended, however it ended, leaves anything behind.
class MutexInstanceGuard final : public InstanceGuard
{
public:
    explicit MutexInstanceGuard(const QString &executablePath)
    {
        // A hash, since a mutex's name may hold no "\" and is limited in length.
        const QByteArray hash = QCryptographicHash::hash(comparablePath(executablePath).toUtf8(),
                                                         QCryptographicHash::Sha1)
                                    .toHex();
        m_name = QStringLiteral("Local\\Mirvo-") + QString::fromLatin1(hash);
    }

    ~MutexInstanceGuard() override
    {
        if (m_mutex)
            CloseHandle(m_mutex);
    }

    MutexInstanceGuard(const MutexInstanceGuard &) = delete;
    MutexInstanceGuard &operator=(const MutexInstanceGuard &) = delete;

    bool acquire() override
    {
        m_mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t *>(m_name.utf16()));
        const DWORD error = GetLastError();
        if (m_mutex && error == ERROR_ALREADY_EXISTS) {
            CloseHandle(m_mutex);
            m_mutex = nullptr;
            return false;
        }
        // Access is denied to a mutex that an instance running with other rights made. Any
        // other failure leaves the program unguarded: running beats not running.
        return m_mutex || error != ERROR_ACCESS_DENIED;
    }

private:
    QString m_name;
    HANDLE m_mutex = nullptr;
};

} // namespace

std::unique_ptr<InstanceGuard> makeInstanceGuard(const QString &executablePath)
{
    return std::make_unique<MutexInstanceGuard>(executablePath);
}

} // namespace mirvo
