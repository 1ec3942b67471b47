#pragma once

#include <QString>

#include <functional>
#include <string_view>

namespace mirvo {

/// How a reading of a folder went.
struct FolderReading
{
    /// Why the folder could not be read, whole or part way; empty when it was.
    QString problem;
    /// Whether the names depend on the folder alone: false when a link was followed (its
    /// target may change elsewhere) or an entry's type had to be asked for, so the folder's
    /// change notices cannot tell every change.
    bool byFolderAlone = true;
};

/// Calls found with the name of each ordinary file in folder that is a word (links to
/// ordinary files included), in the file system's encoding and the directory's order.
FolderReading readWordFiles(const QString &folder, const std::function<void(std::string_view)> &found);

/// Why listing folder failed with the system's error code (errno, or a Windows error), in the
/// user's words; empty when the code only means that the folder holds nothing.
QString readingProblem(const QString &folder, int code);

/// A name as readWordFiles() gives its bytes: the file system's own on Linux (UTF-8 where
/// valid, else GB18030 where valid, else UTF-8 with stand-ins for what is neither), UTF-8 where
/// names are Unicode (Windows), so no name is lost to a code page.
QString nameFromBytes(std::string_view bytes);

} // namespace mirvo
