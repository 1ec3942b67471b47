#include "platform/FolderListing.h"

#include <QDirIterator>
#include <QFileInfo>

namespace mirvo::detail {

QStringList readOrdinaryFiles(const QString &folder)
{
    // Without QDir::Hidden and QDir::System, hidden files and special files are left out.
    QStringList names;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        it.next();
        // QDir::Files keeps a link to a special file; only ordinary files are words.
        if (it.fileInfo().isFile())
            names.append(it.fileName());
    }
    return names;
}

} // namespace mirvo::detail
