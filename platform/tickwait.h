#pragma once
// The serial library's timed wait. A tick is 55 ms of a monotonic millisecond clock; a wait of
// N ticks ends at the first tick greater than the start tick plus N, so it lasts more than N and
// at most N + 1 ticks. Events are delivered throughout; the wait sleeps in the event loop until
// the next event or its deadline.

#include <chrono>

class TApplication;

class TTickWait {
public:
    static constexpr std::chrono::milliseconds kTick{55};

    explicit TTickWait(TApplication& application, std::chrono::milliseconds tick = kTick);
    // Returns at once for a count of 0 or less, and as soon as the application is ending.
    // Raises Exception when the system cannot provide a timer.
    void DelayTicks(int count);
    // The time spent inside DelayTicks so far, for measuring what the rest of a run costs.
    std::chrono::steady_clock::duration Waited() const { return FWaited; }

private:
    TApplication& FApplication;
    std::chrono::milliseconds FTick;
    std::chrono::steady_clock::duration FWaited{};
};
