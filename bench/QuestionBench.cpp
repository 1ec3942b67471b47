// One question: the drill picks a word and builds its question for the real window, against reading
// the same four entry files with open/read/close.
#include "BenchSupport.h"
#include "Floors.h"

#include "core/store/WordList.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

/// The entries the last question read: the asked word (first draw) and the three other
/// options (the draws after the one placing the right answer).
std::vector<std::string> questionFiles(const bench::DrillWindow &drill)
{
    const std::vector<float> &draws = drill.random.draws;
    if (draws.size() != 5)
        return {};
    const mirvo::WordList &list = drill.store.words();
    std::vector<std::string> paths;
    for (const size_t draw : {0, 2, 3, 4}) {
        const QString name = list.nameAt(mirvo::randomPosition(draws[draw], list.count()));
        paths.push_back(bench::local(drill.store.entryPath(name)));
    }
    return paths;
}

void oneQuestion(benchmark::State &state)
{
    bench::DrillWindow &drill = bench::window3600();
    std::vector<double> measured;
    std::vector<double> floor;
    for (auto _ : state) {
        QApplication::processEvents(); // the repaint of the last question is not timed
        drill.random.draws.clear();
        const auto start = bench::Clock::now();
        drill.window->drill().askNextWord();
        measured.push_back(bench::since(start));
        state.SetIterationTime(measured.back());

        const std::vector<std::string> paths = questionFiles(drill);
        if (paths.size() != 4) {
            state.SkipWithError("the question did not draw four words");
            break;
        }
        floor.push_back(floors::readFiles(paths));
    }
    bench::reportRatio(state, "one question: askNextWord, 3600", measured, floor, "us", 10);
}

} // namespace

BENCHMARK(oneQuestion)
    ->Name("one_question/ask_next_word_3600")
    ->UseManualTime()
    ->Iterations(500)
    ->Unit(benchmark::kMicrosecond);
