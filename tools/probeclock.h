#pragma once
// Times each probe of a search from outside the form, to tell what a probe costs beyond its
// waits. A probe writes "  Looking on COM<n>" to the log and opens the port, and it ends with
// the close: the next thing written to the log follows it. So a probe runs from the last write
// before an open to the first write after the close; what the form's tick wait counted in
// between was waiting, and the rest was work.

#include <QList>
#include <QObject>
#include <chrono>
#include <optional>
#include <vector>

class QTextDocument;
class TApdComPort;
class TTickWait;

class TProbeClock : public QObject {
public:
    TProbeClock(const QTextDocument& log, const TApdComPort& port, const TTickWait& waits);

    // Each probe's own cost in milliseconds, in the order the probes ran; nothing when what was
    // observed does not have the shape of whole probes.
    std::optional<QList<double>> OverheadsMs() const;

private:
    using Clock = std::chrono::steady_clock;
    enum class TMoment { Write, Opened, Closing };
    struct TEvent {
        TMoment moment;
        Clock::time_point at;
        Clock::duration waited;  // by the form, so far
    };
    const TTickWait& FWaits;
    std::vector<TEvent> FEvents;

    void Note(TMoment moment);
};
