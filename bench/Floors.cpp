#include "Floors.h"

#include <chrono>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace floors {

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

double writeEntries(const std::string &folder, const std::vector<Entry> &entries)
{
    const auto start = Clock::now();
    std::string path;
    for (const Entry &entry : entries) {
        path.assign(folder).append(1, '/').append(entry.name);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            continue;
        [[maybe_unused]] const ssize_t written = ::write(fd, entry.bytes.data(), entry.bytes.size());
        ::close(fd);
    }
    return since(start);
}

double readFiles(const std::vector<std::string> &paths)
{
    const auto start = Clock::now();
    char buffer[4096];
    for (const std::string &path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        [[maybe_unused]] const ssize_t got = ::read(fd, buffer, sizeof buffer);
        ::close(fd);
    }
    return since(start);
}

double listNames(const std::string &folder, int *count)
{
    const auto start = Clock::now();
    *count = 0;
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return since(start);
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_type == DT_REG && entry->d_name[0] != '.')
            ++*count;
    }
    ::closedir(dir);
    return since(start);
}

} // namespace floors
