#pragma once
// Times each probe of a search from outside the form: it notes when the log is written to and
// when the serial port component opens and closes, and derives from those moments what a probe
// cost beyond its three waits.
//
// A probe writes "  Looking on COM<n>", opens the port, then writes a dot before each of its
// three waits and its verdict right after the last; it closes the port, and the next thing
// written to the log follows the close. So a probe runs from the write before its open to the
// first write after its close, and its waits from its first dot to its verdict. What runs
// between a write and the wait it precedes (moving the caret; sending the probe) counts as
// waiting here: microseconds.

#include <QList>
#include <QObject>
#include <chrono>
#include <optional>
#include <vector>

class QTextDocument;
class TApdComPort;

class TProbeClock : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    TProbeClock(const QTextDocument& log, const TApdComPort& port);

    // Each probe's own cost in milliseconds, in the order the probes ran; nothing when what was
    // observed does not have the shape of whole probes.
    std::optional<QList<double>> OverheadsMs() const;

private:
    enum class TMoment { Write, Opened, Closing };
    struct TEvent {
        TMoment moment;
        Clock::time_point at;
    };
    std::vector<TEvent> FEvents;

    void Note(TMoment moment) { FEvents.push_back({moment, Clock::now()}); }
};
