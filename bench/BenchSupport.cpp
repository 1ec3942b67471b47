#include "BenchSupport.h"

#include "core/store/WordList.h"


#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

namespace bench {

namespace {

std::unique_ptr<DrillWindow> g_window3600;
std::unique_ptr<DrillWindow> g_window100k;
std::unique_ptr<DrillWindow> g_scratch3600;
std::vector<std::unique_ptr<QTemporaryDir>> g_scratchFolders;
std::vector<GoalRow> g_goals;

/// entries entries in a scratch folder: the shipped words, then the same words again with a
/// number appended.
QString makeScratchStore(int entries)
{
    g_scratchFolders.push_back(
        std::make_unique<QTemporaryDir>(scratchFolder() + QStringLiteral("/mirvo-store-XXXXXX")));
    const QString folder = g_scratchFolders.back()->filePath(QStringLiteral("words"));
    QDir().mkpath(folder);
    mirvo::WordList shipped(storeFolder());
    const QStringList names = shipped.reread() ? shipped.names() : QStringList();
    const std::string target = local(folder);
    for (int i = 0; i < entries && !names.isEmpty(); ++i) {
        const QString &base = names.at(i % names.size());
        QFile source(storeFolder() + QLatin1Char('/') + base);
        source.open(QIODevice::ReadOnly);
        const QByteArray bytes = source.readAll();
        const QString name =
            i < names.size() ? base : base + QLatin1Char('-') + QString::number(i / names.size());
        const std::string path = target + '/' + local(name);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0) {
            [[maybe_unused]] const ssize_t written = ::write(fd, bytes.constData(), bytes.size());
            ::close(fd);
        }
    }
    return folder;
}

} // namespace

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string local(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString startupFolder()
{
    return QStringLiteral(MIRVO_BENCH_STARTUP_DIR);
}

QString wordsTxtPath()
{
    return startupFolder() + QStringLiteral("/words.txt");
}

QString storeFolder()
{
    return startupFolder() + QStringLiteral("/words");
}

QString scratchFolder()
{
    const QString chosen = qEnvironmentVariable("MIRVO_BENCH_SCRATCH");
    if (!chosen.isEmpty())
        return chosen;
    const QString shared = QStringLiteral("/dev/shm");
    return QFileInfo(shared).isDir() && QFileInfo(shared).isWritable() ? shared : QDir::tempPath();
}

void syncFileSystem(const QString &path)
{
    const int fd = ::open(local(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
}

std::vector<std::string> privateFolders(const QString &home, const QString &runtime)
{
    return {"HOME=" + local(home),
            "XDG_CONFIG_HOME=" + local(home + QStringLiteral("/.config")),
            "XDG_CACHE_HOME=" + local(home + QStringLiteral("/.cache")),
            "XDG_DATA_HOME=" + local(home + QStringLiteral("/.local/share")),
            "XDG_RUNTIME_DIR=" + local(runtime)};
}

pid_t spawn(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
            int output, const std::string &errorLog)
{
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &entry : environment)
        envp.push_back(const_cast<char *>(entry.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output >= 0)
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorLog.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

mirvo::MessageAnswer SilentDialogs::message(QWidget *, const QString &, const QString &,
                                            mirvo::MessageIcon, mirvo::MessageButtons buttons)
{
    ++messages;
    return buttons == mirvo::MessageButtons::Ok ? mirvo::MessageAnswer::Ok : mirvo::MessageAnswer::Yes;
}

std::unique_ptr<mirvo::Progress> SilentDialogs::progress(QWidget *, const QString &, const QString &, qint64)
{
    struct Unseen final : mirvo::Progress
    {
        bool advance(qint64) override { return true; }
    };
    return std::make_unique<Unseen>();
}

float RecordingRandom::next()
{
    const float value = static_cast<float>(m_generator() >> 8) * 0x1p-24f;
    draws.push_back(value);
    return value;
}

DrillWindow::DrillWindow(const QString &folder)
    : store(folder)
{
    const mirvo::Services services{dialogs, shell, settings, random, programEnd, pageLoader, *systemInfo,
                                   speech};
    window = std::make_unique<mirvo::FrmMain>(services, store, QStringLiteral("http://127.0.0.1:9"));
    window->show();
    QApplication::processEvents();
}

DrillWindow::~DrillWindow() = default;

DrillWindow &window3600()
{
    if (!g_window3600)
        g_window3600 = std::make_unique<DrillWindow>(storeFolder());
    return *g_window3600;
}

DrillWindow &window100k()
{
    if (!g_window100k)
        g_window100k = std::make_unique<DrillWindow>(makeScratchStore(100000));
    return *g_window100k;
}

DrillWindow &scratchWindow3600()
{
    if (!g_scratch3600)
        g_scratch3600 = std::make_unique<DrillWindow>(makeScratchStore(3600));
    return *g_scratch3600;
}

void dropFixtures()
{
    g_window3600.reset();
    g_window100k.reset();
    g_scratch3600.reset();
    g_scratchFolders.clear();
}

void recordGoal(const GoalRow &row)
{
    g_goals.push_back(row);
}

void reportRatio(benchmark::State &state, const std::string &what, const std::vector<double> &measured,
                 const std::vector<double> &floor, const std::string &unit, double goal)
{
    const double scale = unit == "us" ? 1e6 : 1e3;
    const double ratio = median(measured) / median(floor);
    state.counters["measured_" + unit] = median(measured) * scale;
    state.counters["floor_" + unit] = median(floor) * scale;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = goal;
    recordGoal({what, median(measured) * scale, median(floor) * scale, unit, ratio, goal, false});
}

void printGoals()
{
    std::printf("\n%-32s %10s %10s %-4s %8s  %-11s %s\n", "what", "measured", "floor", "unit",
                "ratio", "goal", "result");
    for (const GoalRow &row : g_goals) {
        char value[32];
        char goal[32];
        std::snprintf(value, sizeof value, row.difference ? "%+.1f MB" : "%.2f", row.value);
        std::snprintf(goal, sizeof goal, row.difference ? "<= +%.0f MB" : "<= %.1f", row.goal);
        std::printf("%-32s %10.2f %10.2f %-4s %8s  %-11s %s\n", row.what.c_str(), row.measured,
                    row.floor, row.unit.c_str(), value, goal, row.value <= row.goal ? "PASS" : "FAIL");
    }
}

} // namespace bench
