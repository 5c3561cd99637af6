#pragma once
// The data packet detector: watches the bytes a serial port receives for a start string and
// raises an event for each occurrence. Armed afresh at each open and disarmed at close, so
// nothing from one connection reaches the next.

#include <QByteArray>
#include <QObject>
#include <array>
#include <functional>

class TApdComPort;

enum class TPacketStartCond { scString };
enum class TPacketEndCondition { ecString, ecPacketSize };
using TPacketEndSet = QFlags<TPacketEndCondition>;

class TApdDataPacket : public QObject {
    Q_OBJECT
public:
    using TPacketNotifyEvent = std::function<void(QObject* Sender, const void* Data, int Size)>;

    explicit TApdDataPacket(QObject* parent = nullptr);

    void SetComPort(TApdComPort* port);

    // Packets here are start strings with no end condition: a packet is complete at the last
    // byte of its start string. The end settings and the time-out take part only in packets
    // that collect data after their start, so they have no effect.
    bool Enabled = true;
    TPacketStartCond StartCond = TPacketStartCond::scString;
    QByteArray StartString;
    TPacketEndSet EndCond;
    QByteArray EndString;
    bool IgnoreCase = true;  // ASCII letters only; every other byte compares exactly
    bool IncludeStrings = true;
    bool AutoEnable = true;  // re-armed after each packet; otherwise Enabled turns false
    int PacketSize = 0;
    int TimeOut = 2184;  // ticks
    TPacketNotifyEvent OnPacket;

    // Driven by the port; public so that benchmarks and fuzzers can feed a detector directly.
    void PortOpened();
    void PortClosing();
    void PortData(QByteArrayView data);

private:
    TApdComPort* FComPort = nullptr;
    bool FArmed = false;
    QByteArray FPattern;                 // the start string, case-folded when IgnoreCase
    std::array<qsizetype, 256> FSkip{};  // Horspool shifts for FPattern
    QByteArray FPartial;                 // a match in progress at the end of the last read

    void Arm();
    uchar Fold(char c) const;
    bool MatchesPrefix(QByteArrayView bytes) const;
    qsizetype Find(QByteArrayView data, qsizetype from) const;
    void KeepPartial(QByteArrayView tail);
    void Packet(QByteArrayView occurrence);
};
