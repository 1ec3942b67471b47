#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mirvo {

/// Follows one folder's names through the kernel's change notices, so that a refresh looks
/// at only the names that changed instead of reading the whole folder again.
class FolderWatch
{
public:
    FolderWatch();
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
    /// Stops following and lets go of the folder: every later takeChanges() asks for a whole
    /// reading.
    void forget();
    /// Each word's name changed since follow() or the last call, with what it is now; or
    /// nothing when that cannot be told and the folder must be read whole: not followed,
    /// notices lost, the folder itself moved or gone, a link among the names, a name told gone
    /// that is still there (the notices missed something), or more than limit names.
    std::optional<std::vector<Change>> takeChanges(size_t limit);

private:
    struct Notices; ///< the system's notices and the folder they follow, each platform's own
    std::unique_ptr<Notices> m_notices;
};

} // namespace mirvo
