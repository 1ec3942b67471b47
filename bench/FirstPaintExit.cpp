// Linked into the start-up programs only: once a top-level window has had its first paint,
// the window is shown and painted, so print a marker with the peak resident memory for the
// measuring parent and end at once.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

/// VmHWM in kB. Not wait4's ru_maxrss: that also counts the spawning parent's memory, which
/// the child shared until its exec.
long peakResidentKb()
{
    long kb = -1;
    if (std::FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %ld", &kb) == 1)
                break;
        std::fclose(status);
    }
    return kb;
}

class FirstPaintExit final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            m_seen = true;
            // Zero delay: runs once the whole paint pass, children included, has finished.
            QTimer::singleShot(0, [] {
                std::printf("painted %ld\n", peakResidentKb());
                std::fflush(stdout);
                std::_Exit(0); // teardown is not part of start-up
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

void installFirstPaintExit()
{
    QCoreApplication::instance()->installEventFilter(new FirstPaintExit(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstPaintExit)
