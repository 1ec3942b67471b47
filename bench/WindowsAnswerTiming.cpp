// The store's part of a right answer on Windows (delete the entry, refresh the list, take its
// count) at 100000 entries against 3600, next to the same answer with the list read whole, and
// the whole reading alone. A plain timing program: Google Benchmark is not in the MinGW sysroot.
// usage: mirvo_answer_timing FOLDER [ROUNDS]  (keeps its stores in FOLDER between runs)
#include "core/store/WordList.h"
#include "core/store/WordStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace mirvo;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

/// A store of entries words w000000, w000001, ... made once; false when it cannot be.
bool prepare(WordStore &store, int entries)
{
    if (!store.exists() && !store.create(nullptr))
        return false;
    if (store.words().reread() && store.words().count() == entries)
        return true;
    WordStore::Writer writer(store);
    for (int i = 0; i < entries; ++i) {
        if (!writer.write(QStringLiteral("w%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("意思%1").arg(i), nullptr))
            return false;
    }
    return store.words().reread() && store.words().count() == entries;
}

struct Times
{
    std::vector<double> notices; ///< delete, refresh through the notices, count
    std::vector<double> whole;   ///< delete, read whole, count
    std::vector<double> reading; ///< a whole reading alone
};

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

/// One right answer at position, timed through the notices or read whole; the entry is put
/// back untimed. Below zero when it failed.
double answer(WordStore &store, int position, bool whole)
{
    WordList &list = store.words();
    const QString word = list.nameAt(position % list.count());
    const auto meaning = store.readMeaning(word, nullptr);
    const int before = list.count();
    QElapsedTimer timer;
    timer.start();
    const bool deleted = store.deleteEntry(word, nullptr) && (whole ? list.reread() : list.refresh());
    const int left = list.count();
    const double ms = msSince(timer);
    const bool restored = meaning && store.writeEntry(word, *meaning, nullptr) && list.refresh();
    return deleted && restored && left == before - 1 ? ms : -1;
}

bool measure(WordStore &store, int position, Times &times)
{
    times.notices.push_back(answer(store, position, false));
    times.whole.push_back(answer(store, position + 1, true));
    QElapsedTimer timer;
    timer.start();
    const bool read = store.words().reread();
    times.reading.push_back(msSince(timer));
    return read && times.notices.back() >= 0 && times.whole.back() >= 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: mirvo_answer_timing FOLDER [ROUNDS]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
    WordStore large(folder + QStringLiteral("/words100000"));
    WordStore small(folder + QStringLiteral("/words3600"));
    if (!QDir().mkpath(folder) || !prepare(large, 100000) || !prepare(small, 3600)) {
        std::fprintf(stderr, "cannot prepare the stores in %s\n", argv[1]);
        return 1;
    }
    Times inLarge;
    Times inSmall;
    // Interleaved, the same share of the way down the list in both.
    for (int round = 0, position = 0; round < rounds; ++round) {
        position = (position + 7919) % 100000;
        if (!measure(large, position, inLarge) || !measure(small, position * 36 / 1000, inSmall)) {
            std::fprintf(stderr, "an entry could not be deleted or put back\n");
            return 1;
        }
    }
    std::printf("medians of %d rounds, ms           100000     3600    ratio\n", rounds);
    const auto row = [](const char *what, const std::vector<double> &a, const std::vector<double> &b) {
        std::printf("%-34s %8.3f %8.3f %8.2f\n", what, median(a), median(b), median(a) / median(b));
    };
    row("right answer, the store's part", inLarge.notices, inSmall.notices);
    row("the same, the list read whole", inLarge.whole, inSmall.whole);
    row("a whole reading alone", inLarge.reading, inSmall.reading);
    return 0;
}
