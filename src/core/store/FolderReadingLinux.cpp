// Reads the folder with the entry types the directory itself gives, so only links and entries
// of unknown type cost a stat.
#include "core/store/FolderReading.h"

#include "core/store/WordNames.h"
#include "core/text/Gb18030.h"
#include "core/text/SystemError.h"

#include <QFile>
#include <QStringDecoder>

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirvo {

FolderReading readWordFiles(const QString &folder, const std::function<void(std::string_view)> &found)
{
    FolderReading reading;
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        reading.problem = readingProblem(folder, errno);
        if (fd >= 0)
            ::close(fd);
        return reading;
    }
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry) {
            if (errno != 0)
                reading.problem = readingProblem(folder, errno);
            break;
        }
        if (!wordnames::isWord(entry->d_name))
            continue;
        bool ordinary = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // Follows a link: a link to an ordinary file is listed, one to anything else not.
            struct stat info;
            ordinary = ::fstatat(fd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
            reading.byFolderAlone = false;
        }
        if (ordinary)
            found(entry->d_name);
    }
    ::closedir(dir); // closes fd too
    return reading;
}

QString readingProblem(const QString &, int code)
{
    return systemErrorText(code); // a listing ends without an error code
}

QString nameFromBytes(std::string_view bytes)
{
    const QByteArrayView name(bytes.data(), qsizetype(bytes.size()));
    // A leading byte order mark is part of the name.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(name);
    if (!utf8.hasError())
        return text;
    // Names from a zip made on a Chinese Windows are GBK.
    if (gb18030::isValid(name))
        return gb18030::decode(name);
    return text;
}

} // namespace mirvo
