#pragma once

#include <QString>
#include <QtGlobal>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvo {

/// The names of the ordinary files in folder, links to ordinary files included, without
/// hidden (dot) names, in listing order. A folder that cannot be read lists nothing.
QStringList listOrdinaryFiles(const QString &folder);

/// The listing order: names compared lower-cased, as QDir::Name | QDir::IgnoreCase sorts
/// them, and names equal that way in binary order, so the order is total.
bool listedBefore(const QString &a, const QString &b);

/// Sorts names into listing order.
void sortListed(QStringList &names);

/// Calls found with the name of each ordinary file in folder, hidden ones left out, in the
/// file system's encoding and the directory's order. Returns whether the listing depends on
/// the folder alone: false when a link was followed (its target may change elsewhere), an
/// entry's type had to be asked for, or the folder could not be read whole.
bool readOrdinaryFiles(const QString &folder, const std::function<void(std::string_view)> &found);

/// A name as readOrdinaryFiles() gives its bytes: the file system's own on Linux, UTF-8
/// where names are Unicode (Windows), so no name is lost to a code page.
QString nameFromBytes(std::string_view bytes);

/// Follows one folder's names through the kernel's change notices, so that a refresh looks
/// at only the names that changed instead of reading the whole folder again.
class FolderWatch
{
public:
    FolderWatch() = default;
    FolderWatch(const FolderWatch &) = delete;
    FolderWatch &operator=(const FolderWatch &) = delete;
    ~FolderWatch();

    struct Change
    {
        std::string bytes; ///< the name, in the file system's encoding
        bool listed;       ///< whether it is an ordinary file there now
    };

    /// Starts following folder afresh, dropping what was noticed before. Call it just
    /// before reading the folder whole, so that nothing changing after the reading is missed.
    void follow(const QString &folder);
    /// Stops following: every later takeChanges() asks for a whole reading.
    void forget();
    /// Each name changed since follow() or the last call, hidden names left out, with what it
    /// is now; or nothing when that cannot be told and the folder must be read whole: not
    /// followed, notices lost or the folder itself moved or gone, a link among the names, or
    /// more than limit names.
    std::optional<std::vector<Change>> takeChanges(size_t limit);

private:
    int m_notices = -1;   ///< the notice queue, kept for the list's life
    int m_watch = -1;     ///< the folder's watch in it, or none
    std::string m_path;   ///< the followed folder
    quint64 m_device = 0; ///< and which one it was when followed
    quint64 m_inode = 0;
};

} // namespace mirvo
