// A right answer as the user feels it: the real program in a real X server (Xvfb), a click on
// an answer button until the message box is mapped, with 100000 words against 3600 in the
// same run. Every entry carries the same meaning, so every answer is right, and the delete
// option is on (the first run's default), so each answer deletes its word and refreshes the
// list.
#include "BenchSupport.h"
#include "XClicker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int timeoutMs = 30000;
/// The first answer of a start loads the message box's code: answered, not timed.
constexpr int warmUps = 1;

void stop(pid_t pid, int signal = SIGKILL)
{
    if (pid <= 0)
        return;
    ::kill(pid, signal);
    ::waitpid(pid, nullptr, 0);
}

/// An X server of its own: ":N", chosen by the server itself.
struct XServer
{
    pid_t pid = -1;
    std::string display;

    XServer()
    {
        // The server writes its display's number to the pipe's end it inherits.
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        ::fcntl(ready[0], F_SETFD, FD_CLOEXEC);
        pid = bench::spawn({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                           {}, -1, "/dev/null");
        ::close(ready[1]);
        std::string number;
        for (char digit = 0; pid > 0;) {
            const ssize_t got = ::read(ready[0], &digit, 1);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0 || digit == '\n')
                break;
            number.push_back(digit);
        }
        ::close(ready[0]);
        if (!number.empty())
            display = ':' + number;
    }
    ~XServer() { stop(pid, SIGTERM); } // which clears its lock and socket
};

/// The program in a folder of its own beside a store of entries words, every one carrying the
/// same meaning, shown on its own X server.
struct Drill
{
    QTemporaryDir folder{bench::scratchFolder() + QStringLiteral("/mirvo-click-XXXXXX")};
    XServer server;
    pid_t pid = -1;
    bench::XClicker::Window window;
    std::unique_ptr<bench::XClicker> user;

    explicit Drill(int words)
    {
        const QString program = folder.filePath(QStringLiteral("mirvo"));
        if (server.display.empty() || !QFile::copy(QStringLiteral(MIRVO_BENCH_WINDOW_PROGRAM), program)
            || !QDir().mkpath(folder.filePath(QStringLiteral("words")))
            || !QDir().mkpath(folder.filePath(QStringLiteral("home"))) || !QDir().mkpath(folder.filePath(QStringLiteral("run"))))
            return;
        QFile::setPermissions(folder.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray meaning = QStringLiteral("n. 同一个释义\r\n").toUtf8();
        const std::string store = bench::local(folder.filePath(QStringLiteral("words")));
        for (int i = 0; i < words; ++i) {
            char path[4096];
            std::snprintf(path, sizeof path, "%s/w%06d", store.c_str(), i);
            const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0)
                return;
            [[maybe_unused]] const ssize_t written = ::write(fd, meaning.constData(), size_t(meaning.size()));
            ::close(fd);
        }
        std::vector<std::string> environment =
            bench::privateFolders(folder.filePath(QStringLiteral("home")), folder.filePath(QStringLiteral("run")));
        environment.insert(environment.end(), {"DISPLAY=" + server.display, "QT_QPA_PLATFORM=xcb",
                                               "PATH=/usr/bin:/bin", "LANG=C.UTF-8"});
        pid = bench::spawn({bench::local(program)}, environment, -1, "/dev/null");
        user = std::make_unique<bench::XClicker>(server.display);
        if (pid <= 0 || !user->connected())
            return;
        window = user->waitForWindow(600, timeoutMs);
        // Answer button 1, from the design's layout: at (144, 240) in the client area, 521 x 41,
        // below the menu bar, whose height is what the window has above the client's 463 pixels.
        user->moveTo(window.x + 144 + 260, window.y + (window.height - 463) + 240 + 20);
        ::usleep(500000); // the first question and the list are drawn
    }
    ~Drill() { stop(pid); }

    bool ready() const { return window.id != 0; }

    /// How many entries the store holds now: one fewer for each right answer.
    qsizetype entries() const
    {
        return QDir(folder.filePath(QStringLiteral("words"))).entryList(QDir::Files).size();
    }

    /// One right answer: seconds from the click to the message box mapped, or -1.
    double answer()
    {
        unsigned long box = 0;
        const double seconds = user->clickUntilMapped(timeoutMs, &box);
        if (seconds < 0 || !user->returnOn(box, timeoutMs))
            return -1;
        ::usleep(150000); // the next question is built and drawn before the next click
        return seconds;
    }
};

void clickToMessage(benchmark::State &state)
{
    Drill large(100000);
    Drill small(3600);
    if (!large.ready() || !small.ready()) {
        state.SkipWithError("no X server (Xvfb) or the program did not show its window");
        return;
    }
    for (int i = 0; i < warmUps; ++i) {
        large.answer();
        small.answer();
    }
    std::vector<double> measured;
    std::vector<double> floor;
    for (auto _ : state) {
        measured.push_back(large.answer());
        floor.push_back(small.answer());
        state.SetIterationTime(measured.back());
        if (measured.back() < 0 || floor.back() < 0) {
            state.SkipWithError("an answer brought no message box");
            break;
        }
    }
    // Each click was a right answer, which deleted its word.
    const auto answers = qsizetype(warmUps + measured.size());
    if (large.entries() != 100000 - answers || small.entries() != 3600 - answers)
        state.SkipWithError("the answers did not delete their words");
    bench::reportRatio(state, "click on the right meaning to message box, 100000 vs 3600", measured, floor, "ms", 2);
}

} // namespace

BENCHMARK(clickToMessage)
    ->Name("click_to_message/100000_vs_3600")
    ->Iterations(15)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
