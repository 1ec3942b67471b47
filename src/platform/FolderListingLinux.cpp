// Reads the folder with the entry types the directory itself gives, so only links and entries
// of unknown type cost a stat.
#include "platform/FolderListing.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirvo {

void readOrdinaryFiles(const QString &folder, const std::function<void(std::string_view)> &found)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        // Dot names are hidden, "." and ".." among them.
        if (entry->d_name[0] == '.')
            continue;
        bool ordinary = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // Follows a link: a link to an ordinary file is listed, one to anything else not.
            struct stat info;
            ordinary = ::fstatat(fd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (ordinary)
            found(entry->d_name);
    }
    ::closedir(dir); // closes fd too
}

} // namespace mirvo
