// First run: the real import of the shipped list into an empty store, against writing the
// same entries with open/write/close.
#include "BenchSupport.h"
#include "Floors.h"

#include "platform/FileListBox.h"
#include "store/WordListImport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

/// The names and bytes of a store's entries, as the import left them.
std::vector<floors::Entry> entriesOf(const QString &folder)
{
    std::vector<floors::Entry> entries;
    for (const QString &name : mirvo::FileListBox::listFolder(folder)) {
        QFile file(folder + QLatin1Char('/') + name);
        file.open(QIODevice::ReadOnly);
        entries.push_back({bench::local(name), file.readAll().toStdString()});
    }
    return entries;
}

/// One floor and one import, each into a new folder of work, the file system flushed before
/// each; the import first when importFirst. Returns the seconds of both.
std::pair<double, double> writeBoth(const QString &work, int round, bool importFirst,
                                    const std::vector<floors::Entry> &entries, bool *complete)
{
    const QString floorFolder = work + QStringLiteral("/floor-%1").arg(round);
    const mirvo::WordStore store(work + QStringLiteral("/words-%1").arg(round));
    QDir().mkdir(floorFolder);
    store.create(nullptr);
    double floor = 0;
    const auto writeFloor = [&] {
        bench::syncFileSystem(work);
        floor = floors::writeEntries(bench::local(floorFolder), entries);
    };
    if (!importFirst)
        writeFloor();
    bench::syncFileSystem(work);
    const auto start = bench::Clock::now();
    const mirvo::ImportReport report = mirvo::importWordList(bench::wordsTxtPath(), store);
    const double measured = bench::since(start);
    if (importFirst)
        writeFloor();
    *complete = report.ok && report.written == static_cast<int>(entries.size());
    return {measured, floor};
}

void firstRunImport(benchmark::State &state)
{
    const std::vector<floors::Entry> entries = entriesOf(bench::storeFolder());
    QTemporaryDir work(bench::scratchFolder() + QStringLiteral("/mirvo-import-XXXXXX"));
    bool complete = true;
    // A first round, not counted, warms the caches.
    writeBoth(work.path(), 0, false, entries, &complete);
    std::vector<double> measured;
    std::vector<double> floor;
    for (auto _ : state) {
        // The order alternates, so neither pays for the other's writes more often.
        const int round = static_cast<int>(measured.size()) + 1;
        const auto [import, plain] = writeBoth(work.path(), round, round % 2 == 0, entries, &complete);
        measured.push_back(import);
        floor.push_back(plain);
        state.SetIterationTime(import);
        if (!complete) {
            state.SkipWithError("the import did not write every entry");
            break;
        }
    }
    // Deleting only now: ext4 without a journal skips inodes freed in the last minutes when it
    // allocates, which would slow whichever writes came next.
    work.remove();
    bench::reportRatio(state, "first run: import 3600", measured, floor, "ms", 2.5);
}

} // namespace

BENCHMARK(firstRunImport)
    ->Name("first_run/import_3600")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
