#include "tickwait.h"

#include <QEventLoop>
#include <QTimer>

#include "application.h"

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TTickWait::TTickWait(TApplication& application, milliseconds tick)
    : FApplication(application), FTick(tick) {}

void TTickWait::DelayTicks(int count) const {
    if (count <= 0) return;
    const auto tickOf = [this](Clock::time_point t) {
        return std::chrono::duration_cast<milliseconds>(t.time_since_epoch()) / FTick;
    };
    const auto lastTick = tickOf(Clock::now()) + count;
    const Clock::time_point deadline{(lastTick + 1) * FTick};

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);  // a coarse timer may overshoot by 5 %
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&FApplication, &TApplication::Terminating, &loop, &QEventLoop::quit);
    while (!FApplication.Terminated() && tickOf(Clock::now()) <= lastTick) {
        timer.start(std::chrono::ceil<milliseconds>(deadline - Clock::now()));
        if (loop.exec() != 0) break;  // the event loop is quitting
    }
}
