#pragma once

#include "core/drill/RandomSource.h"
#include "core/store/WordStore.h"
#include "core/update/PageTitle.h"
#include "forms/drill/FrmMain.h"
#include "platform/ClockRandomSource.h"
#include "platform/Dialogs.h"
#include "platform/NetworkPageLoader.h"
#include "platform/ProgramEnd.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtShell.h"
#include "platform/QtSpeech.h"
#include "platform/SystemInfoTool.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <sys/types.h>

namespace bench {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start);
double median(std::vector<double> values);
std::string local(const QString &path);

/// Where the start-up programs, words.txt and the prepared 3600-word store live.
QString startupFolder();
QString wordsTxtPath();
QString storeFolder();
/// Where the benchmarks write their throw-away folders: $MIRVO_BENCH_SCRATCH, else /dev/shm,
/// else the temporary folder (see README.md for why not the disk by default).
QString scratchFolder();

/// Flushes the file system of path, so no timed part pays for earlier writes.
void syncFileSystem(const QString &path);

/// A child's variables for a home and a runtime folder of its own.
std::vector<std::string> privateFolders(const QString &home, const QString &runtime);
/// Starts argv[0], looked up in PATH, with exactly this environment: its output goes to
/// output (ours when -1), its errors are appended to errorLog. -1 when it could not start.
pid_t spawn(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
            int output, const std::string &errorLog);

/// Answers every message at once: a benchmark must never wait for a user.
class SilentDialogs final : public mirvo::Dialogs
{
public:
    mirvo::MessageAnswer message(QWidget *, const QString &, const QString &, mirvo::MessageIcon,
                                 mirvo::MessageButtons) override;
    QString openFileName(QWidget *, const QString &) override { return {}; }
    std::unique_ptr<mirvo::Progress> progress(QWidget *, const QString &, const QString &, qint64) override;
    int messages = 0;
};

/// A fixed-seed generator that keeps its draws, so a floor can read the files a question read.
class RecordingRandom final : public mirvo::RandomSource
{
public:
    void reseed() override {}
    float next() override;
    std::vector<float> draws;

private:
    std::mt19937 m_generator{20240601u};
};

/// The real drill window over a store, with the real platform services but silent dialogs.
struct DrillWindow
{
    explicit DrillWindow(const QString &folder);
    ~DrillWindow();

    SilentDialogs dialogs;
    mirvo::QtShell shell;
    mirvo::QtSettingsStore settings;
    RecordingRandom random;
    mirvo::QtProgramEnd programEnd;
    mirvo::NetworkPageLoader pageLoader{mirvo::pagetitle::documentTitle};
    std::unique_ptr<mirvo::SystemInfoTool> systemInfo = mirvo::makeSystemInfoTool();
    mirvo::QtSpeech speech{{}, -1}; // never loaded: as in the program's first second
    mirvo::WordStore store;
    std::unique_ptr<mirvo::FrmMain> window;
};

/// Windows shared by the benchmarks, made on first use and dropped before the application.
DrillWindow &window3600();
DrillWindow &window100k();
/// The shipped words in a scratch folder, beside the 100000-entry store.
DrillWindow &scratchWindow3600();
void dropFixtures();

/// One line of the goal table printed after the run.
struct GoalRow
{
    std::string what;
    double measured = 0;
    double floor = 0;
    std::string unit;
    double value = 0; // ratio, or difference for memory
    double goal = 0;
    bool difference = false;
};

void recordGoal(const GoalRow &row);
void printGoals();

/// Sets a run's counters (the medians in unit, their ratio, the goal) and adds its goal line.
/// unit is "ms" or "us".
void reportRatio(benchmark::State &state, const std::string &what, const std::vector<double> &measured,
                 const std::vector<double> &floor, const std::string &unit, double goal);

} // namespace bench
