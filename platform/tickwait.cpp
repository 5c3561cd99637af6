#include "tickwait.h"

#include <sys/timerfd.h>
#include <unistd.h>
#include <QEventLoop>
#include <QScopeGuard>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#include "application.h"
#include "sysutils.h"

using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC, as the timer below
using std::chrono::milliseconds;

namespace {

// A one-shot monotonic timer as a file descriptor: it wakes the event loop within microseconds
// of its deadline, where Qt's timers round to whole milliseconds and would overshoot a tick.
class TDeadline {
public:
    explicit TDeadline(Clock::time_point at)
        : FFd(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
        const auto ns = std::chrono::nanoseconds(at.time_since_epoch()).count();
        itimerspec expiry{};
        expiry.it_value.tv_sec = ns / 1'000'000'000;
        expiry.it_value.tv_nsec = ns % 1'000'000'000;
        if (FFd < 0 || ::timerfd_settime(FFd, TFD_TIMER_ABSTIME, &expiry, nullptr) != 0) {
            const int error = errno;
            if (FFd >= 0) ::close(FFd);
            // Without its deadline the wait would last until some unrelated event came.
            throw Exception(QStringLiteral("Cannot start a timer: %1")
                                .arg(QString::fromLocal8Bit(std::strerror(error))));
        }
    }
    ~TDeadline() { ::close(FFd); }
    TDeadline(const TDeadline&) = delete;
    TDeadline& operator=(const TDeadline&) = delete;
    int Fd() const { return FFd; }

private:
    int FFd;
};

}  // namespace

TTickWait::TTickWait(TApplication& application, milliseconds tick)
    : FApplication(application), FTick(tick) {}

void TTickWait::DelayTicks(int count) {
    if (count <= 0) return;
    // Declared first so that it counts the clean-up below as well.
    const auto account =
        qScopeGuard([this, entered = Clock::now()] { FWaited += Clock::now() - entered; });
    const auto tickOf = [this](Clock::time_point t) {
        return std::chrono::duration_cast<milliseconds>(t.time_since_epoch()) / FTick;
    };
    const auto lastTick = tickOf(Clock::now()) + count;
    const TDeadline deadline(Clock::time_point((lastTick + 1) * FTick));

    QEventLoop loop;
    QSocketNotifier expired(deadline.Fd(), QSocketNotifier::Read);
    QObject::connect(&expired, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    QObject::connect(&FApplication, &TApplication::Terminating, &loop, &QEventLoop::quit);
    while (!FApplication.Terminated() && tickOf(Clock::now()) <= lastTick)
        if (loop.exec() != 0) break;  // the event loop is quitting
}
