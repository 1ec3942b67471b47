#pragma once

#include <QString>

namespace mirvo {

/// Whether path names an ordinary file: folders, hidden files (dot files here) and
/// system files do not count, nor does an empty or malformed path.
bool isOrdinaryFile(const QString &path);

/// Whether this user may create files in the folder.
bool canCreateFilesIn(const QString &folder);

} // namespace mirvo
