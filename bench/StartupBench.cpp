// Start-up as whole processes: the real program (update check to a closed local port) and the
// bare Qt program, each from spawn to the marker it prints after its first paint, which also
// carries its peak resident memory.
#include "BenchSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int repetitions = 11;
constexpr int timeoutMs = 60000;

struct Run
{
    double seconds = 0;
    double peakMb = 0;
    bool painted = false;
};

/// The environment of the child: ours, with a private home and runtime folder, the offscreen
/// platform and no proxy, so the update check really goes to the closed port.
std::vector<std::string> childEnvironment(const QString &home, const QString &runtime)
{
    std::vector<std::string> env;
    for (char **entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        std::string lower = name;
        for (char &c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == "HOME" || name.starts_with("XDG_") || name == "QT_QPA_PLATFORM"
            || lower.find("proxy") != std::string::npos)
            continue;
        env.push_back(text);
    }
    for (std::string &entry : bench::privateFolders(home, runtime))
        env.push_back(std::move(entry));
    env.push_back("QT_QPA_PLATFORM=offscreen");
    return env;
}

Run runUntilPainted(const std::string &program, const std::vector<std::string> &environment,
                    const std::string &log)
{
    Run run;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return run;
    const auto start = bench::Clock::now();
    const pid_t pid = bench::spawn({program}, environment, out[1], log);
    ::close(out[1]);
    if (pid < 0) {
        ::close(out[0]);
        return run;
    }

    std::string seen;
    pollfd watch{out[0], POLLIN, 0};
    while (!run.painted && ::poll(&watch, 1, timeoutMs) > 0) {
        char buffer[256];
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        seen.append(buffer, static_cast<size_t>(got));
        const size_t marker = seen.find("painted ");
        run.painted = marker != std::string::npos && seen.find('\n', marker) != std::string::npos;
        if (run.painted)
            run.peakMb = std::strtod(seen.c_str() + marker + 8, nullptr) / 1024.0;
    }
    run.seconds = bench::since(start);
    if (!run.painted)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(out[0]);
    return run;
}

/// Keeps this process, and so every child it starts, on the processor it runs on now, while
/// the object lives. The cores of a virtual machine need not be alike (on the recorded one,
/// a program starts about a third slower on one than on the other), and the kernel gives each
/// new child either: the three programs would race on different cores.
class OneProcessor
{
public:
    OneProcessor()
    {
        m_pinned = ::sched_getaffinity(0, sizeof m_saved, &m_saved) == 0;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(::sched_getcpu(), &one);
        m_pinned = m_pinned && ::sched_setaffinity(0, sizeof one, &one) == 0;
    }
    ~OneProcessor()
    {
        if (m_pinned)
            ::sched_setaffinity(0, sizeof m_saved, &m_saved);
    }
    OneProcessor(const OneProcessor &) = delete;
    OneProcessor &operator=(const OneProcessor &) = delete;

private:
    cpu_set_t m_saved{};
    bool m_pinned = false;
};

void startup(benchmark::State &state)
{
    const OneProcessor oneProcessor;
    const std::string program = bench::local(bench::startupFolder() + QStringLiteral("/mirvo"));
    const std::string bare = bench::local(bench::startupFolder() + QStringLiteral("/bare_qt"));
    const std::string fair = bench::local(bench::startupFolder() + QStringLiteral("/bare_cjk"));
    const QString logPath = bench::startupFolder() + QStringLiteral("/startup.log");
    QFile::remove(logPath);
    const std::string log = bench::local(logPath);
    QTemporaryDir work;
    const QString home = work.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    std::vector<double> seconds, floorSeconds, fairSeconds, peak, floorPeak;
    int round = 0;
    // Each run gets a fresh runtime folder: the lock of an ended run is not the next one's.
    const auto once = [&](const std::string &which) {
        const QString runtime = work.filePath(QStringLiteral("run-%1").arg(round++));
        QDir().mkdir(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return runUntilPainted(which, childEnvironment(home, runtime), log);
    };
    for (auto _ : state) {
        // Warm-up: caches of the file system and fontconfig, as for any start after the first.
        once(program);
        once(bare);
        once(fair);
        for (int i = 0; i < repetitions; ++i) {
            const Run app = once(program);
            const Run floor = once(bare);
            const Run fairFloor = once(fair);
            if (!app.painted || !floor.painted || !fairFloor.painted) {
                state.SkipWithError("a start-up program did not paint its window (see startup.log)");
                return;
            }
            seconds.push_back(app.seconds);
            floorSeconds.push_back(floor.seconds);
            fairSeconds.push_back(fairFloor.seconds);
            peak.push_back(app.peakMb);
            floorPeak.push_back(floor.peakMb);
        }
        state.SetIterationTime(bench::median(seconds));
    }
    bench::reportRatio(state, "start-up: to first paint, 3600", seconds, floorSeconds, "ms", 1.3);
    // Against the bare window with the same Chinese widgets and fonts.
    const double fairRatio = bench::median(seconds) / bench::median(fairSeconds);
    state.counters["fair_floor_ms"] = bench::median(fairSeconds) * 1e3;
    state.counters["fair_ratio"] = fairRatio;
    state.counters["fair_goal"] = 1.1;
    bench::recordGoal({"start-up: to first paint, against the same Chinese widgets", bench::median(seconds) * 1e3,
                       bench::median(fairSeconds) * 1e3, "ms", fairRatio, 1.1, false});
    const double difference = bench::median(peak) - bench::median(floorPeak);
    state.counters["peak_rss_mb"] = bench::median(peak);
    state.counters["floor_rss_mb"] = bench::median(floorPeak);
    state.counters["rss_diff_mb"] = difference;
    state.counters["rss_goal_mb"] = 15;
    bench::recordGoal({"memory: peak RSS at start-up", bench::median(peak), bench::median(floorPeak),
                       "MB", difference, 15, true});
}

} // namespace

BENCHMARK(startup)
    ->Name("startup/process_3600")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
