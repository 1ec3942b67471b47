// Imports a word list into a store: the process the crash-safety test kills part-way.
//   mirvo_import_child LIST STORE          imports, then prints how many bytes it wrote to files
//   mirvo_import_child LIST STORE BYTES    kills itself once BYTES bytes are written: in the
//                                          write that reaches them, the bytes before them written
// Where it dies is then a count, the same on a loaded machine as on an idle one.
#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <sys/syscall.h>
#include <unistd.h>

namespace {

long long g_killAt = -1;
long long g_written = 0;

} // namespace

// Every write of the program passes here, the store's among them (the standard streams are
// not counted).
extern "C" ssize_t write(int fd, const void *buffer, size_t size)
{
    const bool counted = fd > STDERR_FILENO;
    if (counted && g_killAt >= 0 && g_written + static_cast<long long>(size) >= g_killAt) {
        const auto part = static_cast<size_t>(g_killAt - g_written);
        if (part > 0)
            ::syscall(SYS_write, fd, buffer, part);
        std::raise(SIGKILL);
    }
    const auto wrote = static_cast<ssize_t>(::syscall(SYS_write, fd, buffer, size));
    if (counted && wrote > 0)
        g_written += wrote;
    return wrote;
}

int main(int argc, char *argv[])
{
    if (argc != 3 && argc != 4) {
        std::fputs("usage: mirvo_import_child LIST STORE [BYTES]\n", stderr);
        return 2;
    }
    if (argc == 4)
        g_killAt = std::atoll(argv[3]);
    mirvo::WordStore store(QString::fromLocal8Bit(argv[2]));
    const mirvo::ImportReport report = mirvo::importWordList(QString::fromLocal8Bit(argv[1]), store);
    if (!report.ok)
        std::fprintf(stderr, "%s\n", report.error.toLocal8Bit().constData());
    std::printf("wrote %lld\n", g_written);
    return report.ok ? 0 : 1;
}
