#include "probeclock.h"

#include <QTextDocument>

#include "apdcomport.h"

namespace {
// Enough for a search over hundreds of ports without growing while it is timed.
constexpr std::size_t kReservedEvents = 1 << 16;
constexpr int kDotsPerProbe = 3;
}  // namespace

TProbeClock::TProbeClock(const QTextDocument& log, const TApdComPort& port) {
    FEvents.reserve(kReservedEvents);
    connect(&log, &QTextDocument::contentsChange, this, [this] { Note(TMoment::Write); });
    connect(&port, &TApdComPort::Opened, this, [this] { Note(TMoment::Opened); });
    connect(&port, &TApdComPort::Closing, this, [this] { Note(TMoment::Closing); });
}

std::optional<QList<double>> TProbeClock::OverheadsMs() const {
    using Ms = std::chrono::duration<double, std::milli>;
    QList<double> overheads;
    std::optional<Clock::time_point> lastWrite, start, firstDot, verdict;
    int writesSinceOpen = -1;  // -1: no probe under way
    bool closing = false;
    for (const TEvent& e : FEvents) {
        if (e.moment == TMoment::Opened) {
            if (!lastWrite || writesSinceOpen >= 0) return std::nullopt;
            start = lastWrite;
            writesSinceOpen = 0;
        } else if (e.moment == TMoment::Closing) {
            if (writesSinceOpen <= kDotsPerProbe) return std::nullopt;
            closing = true;
        } else if (closing) {
            overheads.append(Ms(*firstDot - *start + e.at - *verdict).count());
            writesSinceOpen = -1;
            closing = false;
        } else if (writesSinceOpen >= 0 && ++writesSinceOpen == 1) {
            firstDot = e.at;
        } else if (writesSinceOpen == kDotsPerProbe + 1) {
            verdict = e.at;
        }
        if (e.moment == TMoment::Write) lastWrite = e.at;
    }
    if (writesSinceOpen >= 0) return std::nullopt;
    return overheads;
}
