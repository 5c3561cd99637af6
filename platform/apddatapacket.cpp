#include "apddatapacket.h"

#include "apdcomport.h"

TApdDataPacket::TApdDataPacket(QObject* parent) : QObject(parent) {}

void TApdDataPacket::SetComPort(TApdComPort* port) {
    if (FComPort) disconnect(FComPort, nullptr, this, nullptr);
    FComPort = port;
    if (!port) return;
    connect(port, &TApdComPort::Opened, this, &TApdDataPacket::PortOpened);
    connect(port, &TApdComPort::DataReceived, this, &TApdDataPacket::PortData);
    connect(port, &TApdComPort::Closing, this, &TApdDataPacket::PortClosing);
}

void TApdDataPacket::PortOpened() {
    Arm();
}

void TApdDataPacket::PortClosing() {
    FArmed = false;
    FPartial.clear();
}

void TApdDataPacket::Arm() {
    FPattern.clear();
    for (const char c : StartString) FPattern.append(char(Fold(c)));
    const qsizetype m = FPattern.size();
    FSkip.fill(m);
    for (qsizetype i = 0; i + 1 < m; ++i) FSkip[uchar(FPattern[i])] = m - 1 - i;
    FPartial.clear();
    FArmed = Enabled && m > 0;
}

uchar TApdDataPacket::Fold(char c) const {
    const auto u = uchar(c);
    return IgnoreCase && u >= 'a' && u <= 'z' ? uchar(u - 'a' + 'A') : u;
}

bool TApdDataPacket::MatchesPrefix(QByteArrayView bytes) const {
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (Fold(bytes[i]) != uchar(FPattern[i])) return false;
    return true;
}

// Boyer-Moore-Horspool: the first occurrence at or after `from`, or -1.
qsizetype TApdDataPacket::Find(QByteArrayView data, qsizetype from) const {
    const qsizetype m = FPattern.size();
    for (qsizetype pos = from; pos + m <= data.size();) {
        qsizetype j = m - 1;
        while (j >= 0 && Fold(data[pos + j]) == uchar(FPattern[j])) --j;
        if (j < 0) return pos;
        pos += FSkip[Fold(data[pos + m - 1])];
    }
    return -1;
}

// Keeps the longest end of `tail` that could still grow into an occurrence.
void TApdDataPacket::KeepPartial(QByteArrayView tail) {
    for (qsizetype n = std::min(tail.size(), FPattern.size() - 1); n > 0; --n) {
        if (MatchesPrefix(tail.last(n))) {
            FPartial = tail.last(n).toByteArray();
            return;
        }
    }
}

void TApdDataPacket::PortData(QByteArrayView data) {
    if (!FArmed) return;
    // A match begun in the last read goes on in this one; most reads carry none over.
    QByteArray joined;
    if (!FPartial.isEmpty()) joined = FPartial + QByteArray(data.data(), data.size());
    const QByteArrayView window = FPartial.isEmpty() ? data : QByteArrayView(joined);
    FPartial.clear();
    qsizetype from = 0;
    for (qsizetype at; FArmed && (at = Find(window, from)) >= 0;) {
        from = at + FPattern.size();
        Packet(window.sliced(at, FPattern.size()));
    }
    if (FArmed) KeepPartial(window.sliced(from));
}

void TApdDataPacket::Packet(QByteArrayView occurrence) {
    if (!AutoEnable) {
        Enabled = false;
        FArmed = false;
    }
    if (!OnPacket) return;
    if (IncludeStrings)
        OnPacket(this, occurrence.data(), int(occurrence.size()));
    else
        OnPacket(this, nullptr, 0);
}
