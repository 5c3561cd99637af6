#include "probeclock.h"

#include <QTextDocument>

#include "apdcomport.h"
#include "tickwait.h"

namespace {
// Enough for a search over hundreds of ports without growing while it is timed.
constexpr std::size_t kReservedEvents = 1 << 16;
}  // namespace

TProbeClock::TProbeClock(const QTextDocument& log, const TApdComPort& port, const TTickWait& waits)
    : FWaits(waits) {
    FEvents.reserve(kReservedEvents);
    connect(&log, &QTextDocument::contentsChange, this, [this] { Note(TMoment::Write); });
    connect(&port, &TApdComPort::Opened, this, [this] { Note(TMoment::Opened); });
    connect(&port, &TApdComPort::Closing, this, [this] { Note(TMoment::Closing); });
}

void TProbeClock::Note(TMoment moment) {
    FEvents.push_back({moment, Clock::now(), FWaits.Waited()});
}

std::optional<QList<double>> TProbeClock::OverheadsMs() const {
    using Ms = std::chrono::duration<double, std::milli>;
    QList<double> overheads;
    const TEvent* lastWrite = nullptr;
    const TEvent* start = nullptr;  // of the probe under way
    bool closing = false;
    for (const TEvent& e : FEvents) {
        if (e.moment == TMoment::Opened) {
            if (!lastWrite || start) return std::nullopt;
            start = lastWrite;
        } else if (e.moment == TMoment::Closing) {
            if (!start) return std::nullopt;
            closing = true;
        } else {
            if (closing) {
                overheads.append(Ms(e.at - start->at - (e.waited - start->waited)).count());
                start = nullptr;
                closing = false;
            }
            lastWrite = &e;
        }
    }
    if (start) return std::nullopt;
    return overheads;
}
