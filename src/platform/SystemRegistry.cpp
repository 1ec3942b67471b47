#include "platform/SystemRegistry.h"

#ifdef Q_OS_WIN

#include <qt_windows.h>

namespace mirvo {

SystemRegistry::SystemRegistry() = default;

long SystemRegistry::openKey(qint32 root, const QByteArray &path, quint32 access, Key *key)
{
    // Predefined roots are 32-bit values sign-extended to a handle, as HKEY_LOCAL_MACHINE is.
    const auto rootKey =
        reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(root)));
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(rootKey, path.constData(), 0, access, &opened);
    if (status == ERROR_SUCCESS)
        *key = reinterpret_cast<Key>(opened);
    return status;
}

long SystemRegistry::queryValue(Key key, const QByteArray &name, quint32 bufferSize,
                                quint32 *type, QByteArray *data)
{
    QByteArray buffer(qsizetype(bufferSize), '\0');
    DWORD valueType = 0;
    DWORD size = bufferSize;
    auto *target = reinterpret_cast<LPBYTE>(buffer.data());
    const LONG status = RegQueryValueExA(reinterpret_cast<HKEY>(key), name.constData(), nullptr,
                                         &valueType, target, &size);
    if (status != ERROR_SUCCESS)
        return status;
    buffer.truncate(qsizetype(size));
    *type = valueType;
    *data = buffer;
    return ERROR_SUCCESS;
}

void SystemRegistry::closeKey(Key key)
{
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

} // namespace mirvo

#else

#include "platform/TextCodec.h"

#include <QStandardPaths>

namespace mirvo {

namespace {

constexpr long success = 0;
constexpr long fileNotFound = 2; // ERROR_FILE_NOT_FOUND
constexpr long invalidHandle = 6; // ERROR_INVALID_HANDLE
constexpr long moreData = 234; // ERROR_MORE_DATA

const QByteArray toolKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray toolValue = QByteArrayLiteral("PATH");

// Closest to MSINFO32 first: hardware and software summaries, then a resource monitor.
const QStringList tools = {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
                           QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor")};

} // namespace

SystemRegistry::SystemRegistry() = default;

SystemRegistry::SystemRegistry(const QStringList &toolFolders)
    : m_toolFolders(toolFolders)
{
}

QString SystemRegistry::findTool() const
{
    for (const QString &tool : tools) {
        const QString path = QStandardPaths::findExecutable(tool, m_toolFolders);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

long SystemRegistry::openKey(qint32 root, const QByteArray &path, quint32, Key *key)
{
    // Registry names ignore case.
    if (root != localMachine || path.compare(toolKey, Qt::CaseInsensitive) != 0)
        return fileNotFound;
    *key = m_next++;
    m_open.insert(*key);
    return success;
}

long SystemRegistry::queryValue(Key key, const QByteArray &name, quint32 bufferSize,
                                quint32 *type, QByteArray *data)
{
    if (!m_open.contains(key))
        return invalidHandle;
    if (name.compare(toolValue, Qt::CaseInsensitive) != 0)
        return fileNotFound;
    const QString tool = findTool();
    if (tool.isEmpty())
        return fileNotFound;
    const QByteArray bytes = textcodec::encode(tool) + '\0';
    if (quint32(bytes.size()) > bufferSize)
        return moreData;
    *type = typeString;
    *data = bytes;
    return success;
}

void SystemRegistry::closeKey(Key key)
{
    m_open.remove(key);
}

} // namespace mirvo

#endif
