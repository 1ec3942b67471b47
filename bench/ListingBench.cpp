// Listing: reading the word list of the real window against readdir of the same folder
// alone, and the list's part of a right answer at 100000 entries against the same at 3600.
#include "BenchSupport.h"
#include "Floors.h"

#include "core/store/WordList.h"
#include "widgets/FileListBox.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void listing(benchmark::State &state)
{
    const auto entries = state.range(0);
    bench::DrillWindow &drill = entries == 3600 ? bench::window3600() : bench::window100k();
    mirvo::WordList &list = drill.store.words();
    std::vector<double> measured;
    std::vector<double> floor;
    for (auto _ : state) {
        QApplication::processEvents();
        const auto start = bench::Clock::now();
        // Read whole, as at start-up and after an import: a refresh with nothing changed
        // reads nothing at all.
        const bool read = list.reread();
        // The view lays the new names out from the event loop: part of what a reading costs.
        QApplication::processEvents();
        measured.push_back(bench::since(start));
        state.SetIterationTime(measured.back());

        int seen = 0;
        floor.push_back(floors::listNames(bench::local(list.folder()), &seen));
        if (!read || seen != entries || list.count() != entries) {
            state.SkipWithError("the folder does not hold the expected entries");
            break;
        }
    }
    bench::reportRatio(state, "listing: the word list read whole, " + std::to_string(entries), measured, floor,
                       "ms", 1.5);
}

/// The seconds of the store's part of a right answer and of the view's.
struct Answer
{
    double store = -1; ///< keep the entry for Ctrl+Z, delete it, refresh the list, take its count
    double view = -1;  ///< the event loop's pass that lays out and paints the change
};

/// Does to the selected word what a right answer does to the store: reads its entry (to take
/// the answer back), deletes it, which removes its row, refreshes the list for changes made
/// outside and takes the count; then lets the event loop lay out and paint the change; then
/// writes the entry back, untimed. The view's part runs, in the program, while the message box
/// is already being shown: the click benchmark times the two together, as the user meets them.
Answer rightAnswer(bench::DrillWindow &drill, int position)
{
    mirvo::WordStore &store = drill.store;
    drill.window->wordList()->select(position % store.words().count());
    const QString word = store.words().nameAt(drill.window->wordList()->selectedRow());
    QString error;
    QApplication::processEvents();

    const auto start = bench::Clock::now();
    const std::optional<mirvo::SavedEntry> entry = store.readEntry(word, &error);
    const bool deleted = entry && store.deleteEntry(word, &error) && store.refresh(&error);
    const int left = store.words().count();
    const double storePart = bench::since(start);
    const auto viewStart = bench::Clock::now();
    QApplication::processEvents();
    const double view = bench::since(viewStart);

    const bool restored = entry && store.restoreEntry(*entry, &error) && store.refresh(&error);
    QApplication::processEvents();
    if (!deleted || !restored || left == 0)
        return {};
    return {storePart, view};
}

void answer(benchmark::State &state)
{
    bench::DrillWindow &large = bench::window100k();
    bench::DrillWindow &small = bench::scratchWindow3600();
    std::vector<double> measured;
    std::vector<double> floor;
    std::vector<double> viewLarge; // the view's part, reported beside
    std::vector<double> viewSmall;
    std::vector<double> readLarge; // readdir alone of each folder, for scale
    std::vector<double> readSmall;
    int seen = 0;
    int position = 0;
    for (auto _ : state) {
        // Positions spread over the list, the same share of the way down in both.
        position = (position + 7919) % 100000;
        const Answer inLarge = rightAnswer(large, position);
        const Answer inSmall = rightAnswer(small, position * 36 / 1000);
        measured.push_back(inLarge.store);
        floor.push_back(inSmall.store);
        viewLarge.push_back(inLarge.view);
        viewSmall.push_back(inSmall.view);
        readLarge.push_back(floors::listNames(bench::local(large.store.folder()), &seen));
        readSmall.push_back(floors::listNames(bench::local(small.store.folder()), &seen));
        state.SetIterationTime(measured.back());
        if (measured.back() < 0 || floor.back() < 0) {
            state.SkipWithError("an entry could not be deleted or put back");
            break;
        }
    }
    bench::reportRatio(state, "right answer, the store's part: 100000 vs 3600", measured, floor, "ms", 3);
    state.counters["view_ms"] = bench::median(viewLarge) * 1e3;
    state.counters["view_floor_ms"] = bench::median(viewSmall) * 1e3;
    state.counters["readdir_ratio"] = bench::median(readLarge) / bench::median(readSmall);
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
BENCHMARK(answer)
    ->Name("right_answer/100000_vs_3600")
    ->Iterations(21)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
