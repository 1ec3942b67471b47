// First run: the real import of the shipped list into an empty store, followed by the program's
// progress dialog, against writing the same entries with open/write/close. And the memory of importing a list far larger than any
// real one, against the memory before it.
#include "BenchSupport.h"

#include "Floors.h"
#include "core/store/WordList.h"

#include "core/store/WordListImport.h"
#include "forms/commands/MenuCommands.h"
#include "platform/QtDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

/// The names and bytes of a store's entries, as the import left them.
std::vector<floors::Entry> entriesOf(const QString &folder)
{
    std::vector<floors::Entry> entries;
    mirvo::WordList words(folder);
    if (!words.reread())
        return entries;
    for (const QString &name : words.names()) {
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
    mirvo::WordStore store(work + QStringLiteral("/words-%1").arg(round));
    QDir().mkdir(floorFolder);
    const bool created = store.create(nullptr);
    double floor = 0;
    const auto writeFloor = [&] {
        bench::syncFileSystem(work);
        floor = floors::writeEntries(bench::local(floorFolder), entries);
    };
    if (!importFirst)
        writeFloor();
    bench::syncFileSystem(work);
    // The progress dialog the program shows (offscreen here) is told of every line.
    mirvo::QtDialogs dialogs;
    const auto start = bench::Clock::now();
    const mirvo::ImportReport report = mirvo::importWordList(
        bench::wordsTxtPath(), store, mirvo::commands::importProgress(dialogs, nullptr));
    const double measured = bench::since(start);
    if (importFirst)
        writeFloor();
    *complete = created && report.ok && report.written == static_cast<int>(entries.size());
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
    bench::reportRatio(state, "first run: import 3600", measured, floor, "ms", 1.8);
}

/// A resident-set figure of this process from /proc/self/status, in MB ("VmHWM:", "VmRSS:").
double statusMegabytes(const char *field)
{
    double megabytes = 0;
    if (std::FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        long kb = 0;
        const std::string format = std::string(field) + " %ld";
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, format.c_str(), &kb) == 1)
                megabytes = kb / 1024.0;
        std::fclose(status);
    }
    return megabytes;
}

/// Starts counting the peak resident set afresh from the current one.
void resetPeakMemory()
{
    if (std::FILE *refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

void hugeListMemory(benchmark::State &state)
{
    // 100 lines of a megabyte each between two good lines: the import reads the file in
    // pieces, so it never has to fit in memory.
    constexpr qint64 megabyte = 1024 * 1024;
    constexpr double goalMb = 32;
    QTemporaryDir work(bench::scratchFolder() + QStringLiteral("/mirvo-huge-XXXXXX"));
    const QString listPath = work.filePath(QStringLiteral("huge.txt"));
    {
        QFile file(listPath);
        file.open(QIODevice::WriteOnly);
        file.write("first 一\n");
        const QByteArray line = QByteArray(megabyte - 1, 'x') + '\n';
        for (int i = 0; i < 100; ++i)
            file.write(line);
        file.write("last 末\n");
    }
    std::vector<double> peak;
    std::vector<double> before;
    for (auto _ : state) {
        mirvo::WordStore store(work.filePath(QStringLiteral("words-%1").arg(peak.size())));
        if (!store.create(nullptr)) {
            state.SkipWithError("cannot create the store");
            break;
        }
        resetPeakMemory();
        before.push_back(statusMegabytes("VmRSS:"));
        const mirvo::ImportReport report = mirvo::importWordList(listPath, store);
        peak.push_back(statusMegabytes("VmHWM:"));
        if (!report.ok || report.written != 2) {
            state.SkipWithError("the import did not write the two good lines");
            break;
        }
    }
    const double difference = bench::median(peak) - bench::median(before);
    state.counters["peak_rss_mb"] = bench::median(peak);
    state.counters["floor_rss_mb"] = bench::median(before);
    state.counters["rss_diff_mb"] = difference;
    state.counters["rss_goal_mb"] = goalMb;
    bench::recordGoal({"memory: import of a 100 MB list", bench::median(peak), bench::median(before),
                       "MB", difference, goalMb, true});
}

} // namespace

BENCHMARK(hugeListMemory)
    ->Name("memory/import_100mb_list")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(firstRunImport)
    ->Name("first_run/import_3600")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
