// No change notices here: every refresh reads the folder whole.
#include "core/store/FolderWatch.h"

namespace mirvo {

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
