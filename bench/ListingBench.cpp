// Listing: refreshing the word list of the real window, against readdir of the same folder
// with a stat per name.
#include "BenchSupport.h"
#include "Floors.h"

#include "platform/FileListBox.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void listing(benchmark::State &state)
{
    const auto entries = state.range(0);
    bench::DrillWindow &drill = entries == 3600 ? bench::window3600() : bench::window100k();
    mirvo::FileListBox &list = *drill.window->flWords();
    std::vector<double> measured;
    std::vector<double> floor;
    for (auto _ : state) {
        QApplication::processEvents();
        const auto start = bench::Clock::now();
        list.refresh();
        // The view lays the new names out from the event loop: part of what a refresh costs.
        QApplication::processEvents();
        measured.push_back(bench::since(start));
        state.SetIterationTime(measured.back());

        int seen = 0;
        floor.push_back(floors::listWithStat(bench::local(list.folder()), &seen));
        if (seen != entries || list.count() != entries) {
            state.SkipWithError("the folder does not hold the expected entries");
            break;
        }
    }
    bench::reportRatio(state, "listing: flWords refresh, " + std::to_string(entries), measured, floor,
                       "ms", 3);
}

} // namespace

BENCHMARK(listing)
    ->Name("listing/refresh")
    ->Arg(3600)->Iterations(40)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(listing)
    ->Name("listing/refresh")
    ->Arg(100000)->Iterations(7)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
