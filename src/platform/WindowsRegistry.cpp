#include "platform/WindowsRegistry.h"

#include <qt_windows.h>

namespace mirvo {

WindowsRegistry::WindowsRegistry() = default;

long WindowsRegistry::openKey(qint32 root, const QByteArray &path, quint32 access, Key *key)
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

long WindowsRegistry::queryValue(Key key, const QByteArray &name, quint32 bufferSize,
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

void WindowsRegistry::closeKey(Key key)
{
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

} // namespace mirvo
