#include "platform/FileChecks.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QDir>
#include <qt_windows.h>
#endif

namespace mirvo {

bool isOrdinaryFile(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar::Null))
        return false;
    const QFileInfo info(path);
    if (!info.isFile() || info.isHidden())
        return false;
#ifdef Q_OS_WIN
    // QFileInfo knows nothing of the system attribute.
    const QString native = QDir::toNativeSeparators(path);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(native.utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES
        || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        return false;
#endif
    return true;
}

} // namespace mirvo
