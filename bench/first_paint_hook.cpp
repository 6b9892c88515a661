// SPDX-License-Identifier: GPL-3.0-or-later
// Reports when a program's first window has been painted, for the start-up measurement.
//
// Linked into a program beside its own, unchanged main(): it hooks in as the application object
// is built (a Qt start-up routine), so the program runs exactly the start-up code it ships with.
// At the first paint event of a top-level widget it waits for that paint pass to finish (the
// children are drawn and the backing store flushed in the same pass), then prints one line and
// ends the event loop:
//
//   first-paint boottime_ns=<CLOCK_BOOTTIME at the end of the pass> since_start_ms=<...>
//
// since_start_ms counts from the process start the kernel recorded (/proc/self/stat, in clock
// ticks, so only to 10 ms); startup_bench takes its own, finer start time before it spawns the
// program and uses boottime_ns.

#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace {

long long BootTimeNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// The process start in nanoseconds since boot; negative when it cannot be read.
long long ProcessStartNanoseconds() {
    std::ifstream file("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name in parentheses may hold blanks: count the fields after its end.
    const size_t end = stat.rfind(')');
    if (end == std::string::npos) {
        return -1;
    }
    std::istringstream fields(stat.substr(end + 2));
    std::string field;
    // Field 22, starttime; the state is field 3, the first after the name.
    for (int number = 3; number <= 22 && fields >> field; ++number) {
        if (number == 22) {
            return std::stoll(field) * (1'000'000'000LL / sysconf(_SC_CLK_TCK));
        }
    }
    return -1;
}

class FirstPaintWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            seen_ = true;
            QTimer::singleShot(0, this, &FirstPaintWatch::Report);
        }
        return false;
    }

private:
    void Report() {
        const long long painted = BootTimeNanoseconds();
        const long long started = ProcessStartNanoseconds();
        std::printf("first-paint boottime_ns=%lld since_start_ms=%.0f\n", painted,
                    started < 0 ? -1.0 : double(painted - started) / 1e6);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool seen_ = false;
};

void InstallFirstPaintWatch() {
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new FirstPaintWatch(application));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallFirstPaintWatch)
