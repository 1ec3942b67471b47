#include "platform/FileChecks.h"

#include <QFileInfo>

namespace mirvo {

bool isOrdinaryFile(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar::Null)) // malformed: names no file
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

bool canCreateFilesIn(const QString &folder)
{
    // access(): the folder's mode and the user's ids decide.
    return QFileInfo(folder).isWritable();
}

} // namespace mirvo
