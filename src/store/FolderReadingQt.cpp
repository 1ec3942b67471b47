#include "platform/FolderListing.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace mirvo {

bool readOrdinaryFiles(const QString &folder, const std::function<void(std::string_view)> &found)
{
    // Without QDir::Hidden and QDir::System, hidden files and special files are left out.
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        it.next();
        // QDir::Files keeps a link to a special file; only ordinary files are words.
        if (it.fileInfo().isFile()) {
            const QByteArray name = it.fileName().toUtf8();
            found(std::string_view(name.constData(), static_cast<size_t>(name.size())));
        }
    }
    return false;
}

QString nameFromBytes(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// No change notices here: every refresh reads the folder whole.
FolderWatch::~FolderWatch() = default;

void FolderWatch::follow(const QString &)
{
}

void FolderWatch::forget()
{
}

std::optional<std::vector<FolderWatch::Change>> FolderWatch::takeChanges(size_t)
{
    return std::nullopt;
}

} // namespace mirvo
