// Follows the folder with inotify between whole readings.
#include "core/store/FolderWatch.h"

#include "core/store/WordNames.h"

#include <QFile>

#include <cerrno>
#include <map>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace mirvo {

namespace {

/// Whether notices on a folder of this file system tell every change: on network and FUSE
/// file systems, changes made by other machines or by the server go unnoticed.
bool noticesEverything(const char *folder)
{
    struct statfs system;
    if (::statfs(folder, &system) != 0)
        return false;
    switch (static_cast<unsigned long>(system.f_type)) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE
    case 0x01021997: // 9P
    case 0x00C36400: // Ceph
    case 0x5346414F: // AFS
    case 0x73757245: // Coda
    case 0x564C:     // NCP
    case 0x7461636F: // OCFS2
    case 0x01161970: // GFS2
    case 0x6B414653: // kAFS
    case 0x0BD00BD0: // Lustre
    case 0x19830326: // BeeGFS
    case 0x47504653: // GPFS
        return false;
    default:
        return true;
    }
}

} // namespace

struct FolderWatch::Notices
{
    int queue = -1;       ///< the notice queue, kept for the watch's life
    int watch = -1;       ///< the folder's watch in it, or none
    std::string path;     ///< the followed folder
    quint64 device = 0;   ///< and which one it was when followed
    quint64 inode = 0;
};

FolderWatch::FolderWatch()
    : m_notices(std::make_unique<Notices>())
{
}

FolderWatch::~FolderWatch()
{
    if (m_notices->queue >= 0)
        ::close(m_notices->queue);
}

void FolderWatch::forget()
{
    // The queue itself stays: closing one waits for the kernel's grace period, milliseconds.
    if (m_notices->watch >= 0)
        ::inotify_rm_watch(m_notices->queue, m_notices->watch);
    m_notices->watch = -1;
}

void FolderWatch::follow(const QString &folder)
{
    forget();
    Notices &notices = *m_notices;
    if (notices.queue < 0)
        notices.queue = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notices.queue < 0)
        return;
    // Whatever was noticed before is of no use once the folder is read whole.
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(notices.queue, buffer, sizeof buffer);
        if (got <= 0 && !(got < 0 && errno == EINTR))
            break;
    }
    notices.path = QFile::encodeName(folder).toStdString();
    // No descriptor of the folder is kept: it would keep a removed folder's notices back.
    // Its identity is taken before the watch is added, so a folder replaced in between is
    // found out at the next look.
    struct stat identity;
    if (::stat(notices.path.c_str(), &identity) != 0 || !S_ISDIR(identity.st_mode)
        || !noticesEverything(notices.path.c_str()))
        return;
    notices.device = identity.st_dev;
    notices.inode = identity.st_ino;
    constexpr uint32_t names = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    // The folder's own mode too: one made unreadable can no longer be read whole.
    constexpr uint32_t itself = IN_DELETE_SELF | IN_MOVE_SELF | IN_ATTRIB | IN_ONLYDIR;
    notices.watch = ::inotify_add_watch(notices.queue, notices.path.c_str(), names | itself);
}

std::optional<std::vector<FolderWatch::Change>> FolderWatch::takeChanges(size_t limit)
{
    Notices &notices = *m_notices;
    if (notices.watch < 0)
        return std::nullopt;
    // Removed or replaced while someone else holds it open, the old folder tells nothing yet.
    struct stat identity;
    if (::stat(notices.path.c_str(), &identity) != 0 || identity.st_dev != notices.device
        || identity.st_ino != notices.inode) {
        forget();
        return std::nullopt;
    }
    // Each name with what its last notice told: gone (deleted, moved out) or made.
    std::map<std::string, bool> toldGone;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(notices.queue, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            break;
        if (got <= 0) {
            forget();
            return std::nullopt;
        }
        for (const char *at = buffer; at < buffer + got;) {
            const auto *notice = reinterpret_cast<const inotify_event *>(at);
            at += sizeof(inotify_event) + notice->len;
            if (notice->wd != notices.watch && !(notice->mask & IN_Q_OVERFLOW))
                continue; // a watch forgotten since
            // Lost notices, the folder moved, deleted or unmounted: only a reading can tell.
            const bool folderChanged = notice->len == 0 && (notice->mask & IN_ATTRIB);
            if (folderChanged || (notice->mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT))) {
                forget();
                return std::nullopt;
            }
            // An entry's own mode or times do not make it more or less a word.
            if (notice->len > 0 && !(notice->mask & IN_ATTRIB) && wordnames::isWord(notice->name))
                toldGone.insert_or_assign(notice->name, (notice->mask & (IN_DELETE | IN_MOVED_FROM)) != 0);
        }
        if (toldGone.size() > limit) // an import's worth: a reading is cheaper
            return std::nullopt;
    }

    std::vector<Change> changes;
    changes.reserve(toldGone.size());
    for (const auto &[name, gone] : toldGone) {
        struct stat info;
        bool listed = false;
        if (::lstat((notices.path + '/' + name).c_str(), &info) == 0) {
            // What a link points to can change without a notice here; a name told gone that is
            // still there (another name of it, on a file system that ignores case) is a change
            // the notices do not show.
            if (S_ISLNK(info.st_mode) || gone)
                return std::nullopt;
            listed = S_ISREG(info.st_mode);
        } else if (errno != ENOENT) {
            return std::nullopt;
        }
        changes.push_back({name, listed});
    }
    return changes;
}

} // namespace mirvo
