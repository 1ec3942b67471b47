#include "platform/FileChecks.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <qt_windows.h>

namespace mirvo {

bool isOrdinaryFile(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar::Null)) // malformed: names no file
        return false;
    const QFileInfo info(path);
    if (!info.isFile() || info.isHidden())
        return false;
    // QFileInfo knows nothing of the system attribute.
    const QString native = QDir::toNativeSeparators(path);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(native.utf16()));
    const DWORD notOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & notOrdinary);
}

bool canCreateFilesIn(const QString &folder)
{
    // A folder's read-only mark means nothing on Windows and its access list is the
    // system's to judge (Program Files refuses a standard user): a file made there tells.
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.mirvo-XXXXXX.tmp"));
    return probe.open();
}

} // namespace mirvo
