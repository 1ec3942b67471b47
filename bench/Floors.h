#pragma once

#include <string>
#include <utility>
#include <vector>

/// The floors: the least the operating system must do for each measured task, in plain
/// POSIX calls. Each returns the seconds it took.
namespace floors {

struct Entry
{
    std::string name;
    std::string bytes;
};

/// open/write/close of each entry into folder.
double writeEntries(const std::string &folder, const std::vector<Entry> &entries);

/// open/read/close of each file (one read: entries are small).
double readFiles(const std::vector<std::string> &paths);

/// readdir of folder alone; *count receives the names the directory marks as ordinary files.
double listNames(const std::string &folder, int *count);

} // namespace floors
