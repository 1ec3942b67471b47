// Imports a word list into a store: the process the crash-safety test kills part-way.
#include "store/WordListImport.h"
#include "store/WordStore.h"

#include <QString>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: mirvo_import_child LIST STORE\n", stderr);
        return 2;
    }
    const mirvo::WordStore store(QString::fromLocal8Bit(argv[2]));
    // Tells the parent the program is loaded, so its kills land in the import itself.
    std::fputs("importing\n", stdout);
    std::fflush(stdout);
    const mirvo::ImportReport report = mirvo::importWordList(QString::fromLocal8Bit(argv[1]), store);
    if (!report.ok)
        std::fprintf(stderr, "%s\n", report.error.toLocal8Bit().constData());
    return report.ok ? 0 : 1;
}
