#include "platform/FileChecks.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QDir>
#include <qt_windows.h>
#endif

namespace mirvo {

bool isOrdinaryFile(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar::Null)) // malformed: names no file
        return false;
    const QFileInfo info(path);
    if (!info.isFile() || info.isHidden())
        return false;
#ifdef Q_OS_WIN
    // QFileInfo knows nothing of the system attribute.
    const QString native = QDir::toNativeSeparators(path);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(native.utf16()));
    const DWORD notOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & notOrdinary))
        return false;
#endif
    return true;
}

} // namespace mirvo
