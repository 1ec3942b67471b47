// Reads the folder through Qt where the system gives no entry types with the names.
#include "core/store/FolderReading.h"

#include "core/store/WordNames.h"

#include <QDirIterator>
#include <QFileInfo>

namespace mirvo {

FolderReading readWordFiles(const QString &folder, const std::function<void(std::string_view)> &found)
{
    // The iterator tells no errors: a folder it cannot read just holds nothing.
    const QFileInfo info(folder);
    if (!info.exists())
        return {QStringLiteral("文件或文件夹不存在"), false};
    if (!info.isDir())
        return {QStringLiteral("路径中有一项不是文件夹"), false};
    if (!info.isReadable())
        return {QStringLiteral("没有权限"), false};
    // Without QDir::Hidden and QDir::System, files the system marks hidden are left out.
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        it.next();
        // QDir::Files keeps a link to a special file; only ordinary files are words.
        const QByteArray name = it.fileName().toUtf8();
        const std::string_view bytes(name.constData(), static_cast<size_t>(name.size()));
        if (it.fileInfo().isFile() && wordnames::isWord(bytes))
            found(bytes);
    }
    return {QString(), false};
}

QString nameFromBytes(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace mirvo
