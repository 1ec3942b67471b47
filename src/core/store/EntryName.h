#pragma once

#include <QString>

#include <string>

namespace mirvo {

/// A word and its entry's file name as the folder's reading gives its bytes (see
/// FolderReading.h). On Linux the bytes are the name itself, which the word only shows: a name
/// that is not UTF-8 (GBK from a zip made on Windows) is read, deleted and written back by them.
struct EntryName
{
    QString word;
    std::string bytes;
};

} // namespace mirvo
