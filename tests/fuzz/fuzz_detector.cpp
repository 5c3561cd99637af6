// libFuzzer target for the reply detector: a stream cut into random reads must raise exactly the
// packets that a plain search of the whole stream finds, each during the read that holds the
// occurrence's last byte, with the bytes as received. Any difference aborts.
//
// Input: one settings byte, then (for a pattern of its own) a length byte and the pattern, then
// the reads, each a length byte followed by up to that many stream bytes.
// Settings: bits 0-1 choose the pattern (the identification string, two that overlap
// themselves, or one from the input); bit 2 compares letter case exactly; bit 3 stops after the
// first packet (AutoEnable off).

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "apddatapacket.h"

namespace {

struct TSettings {
    QByteArray Pattern;
    bool IgnoreCase = true;
    bool AutoEnable = true;
};

struct TPacket {
    QByteArray Bytes;
    qsizetype Read;  // the index of the read during which it was raised
    friend bool operator==(const TPacket&, const TPacket&) = default;
};

class TInput {
public:
    explicit TInput(QByteArrayView bytes) : FBytes(bytes) {}
    bool AtEnd() const { return FBytes.isEmpty(); }
    uchar Byte() { return AtEnd() ? 0 : uchar(Take(1)[0]); }
    QByteArrayView Take(qsizetype n) {
        const QByteArrayView taken = FBytes.first(std::min(n, FBytes.size()));
        FBytes = FBytes.sliced(taken.size());
        return taken;
    }

private:
    QByteArrayView FBytes;
};

// The identification string, and two patterns whose failed attempts restart inside themselves.
constexpr const char* FixedPatterns[] = {"MARLOVENTICS", "AAAB", "abAbaB"};

TSettings ReadSettings(TInput& input) {
    const uchar flags = input.Byte();
    const uchar choice = flags & 3;
    TSettings settings;
    settings.Pattern = choice < 3 ? QByteArray(FixedPatterns[choice])
                                  : input.Take(input.Byte() % 16 + 1).toByteArray();
    settings.IgnoreCase = !(flags & 4);
    settings.AutoEnable = !(flags & 8);
    return settings;
}

QList<QByteArrayView> ReadReads(TInput& input) {
    QList<QByteArrayView> reads;
    while (!input.AtEnd()) reads.append(input.Take(input.Byte()));
    return reads;
}

uchar Folded(char c, bool ignoreCase) {
    const auto u = uchar(c);
    return ignoreCase && u >= 'a' && u <= 'z' ? uchar(u - 'a' + 'A') : u;
}

bool MatchesAt(QByteArrayView stream, qsizetype at, const TSettings& settings) {
    for (qsizetype i = 0; i < settings.Pattern.size(); ++i)
        if (Folded(stream[at + i], settings.IgnoreCase) !=
            Folded(settings.Pattern[i], settings.IgnoreCase))
            return false;
    return true;
}

// Leftmost occurrences, none overlapping: a match resumes after its last byte, a failed attempt
// at the byte after its first.
QList<TPacket> Expected(const QList<QByteArrayView>& reads, const TSettings& settings) {
    QByteArray stream;
    QList<qsizetype> readOf;  // for each stream byte, the read it arrived in
    for (qsizetype r = 0; r < reads.size(); ++r) {
        stream += reads[r];
        readOf.insert(readOf.size(), reads[r].size(), r);
    }
    const qsizetype m = settings.Pattern.size();
    QList<TPacket> packets;
    for (qsizetype at = 0; at + m <= stream.size();) {
        if (!MatchesAt(stream, at, settings)) {
            ++at;
            continue;
        }
        packets.append({stream.sliced(at, m), readOf[at + m - 1]});
        if (!settings.AutoEnable) break;
        at += m;
    }
    return packets;
}

QList<TPacket> Detected(const QList<QByteArrayView>& reads, const TSettings& settings) {
    TApdDataPacket detector;
    detector.StartString = settings.Pattern;
    detector.IgnoreCase = settings.IgnoreCase;
    detector.AutoEnable = settings.AutoEnable;
    QList<TPacket> packets;
    qsizetype read = 0;
    detector.OnPacket = [&](QObject* sender, const void* data, int size) {
        if (sender != &detector || !data || size != settings.Pattern.size()) {
            std::fprintf(stderr, "packet event with sender %p, data %p, size %d\n",
                         static_cast<void*>(sender), data, size);
            std::abort();
        }
        packets.append({QByteArray(static_cast<const char*>(data), size), read});
    };
    detector.PortOpened();
    for (; read < reads.size(); ++read) detector.PortData(reads[read]);
    detector.PortClosing();
    return packets;
}

void Print(const char* title, const QList<TPacket>& packets) {
    std::fprintf(stderr, "%s: %lld\n", title, qlonglong(packets.size()));
    for (const TPacket& p : packets)
        std::fprintf(stderr, "  read %lld: %s\n", qlonglong(p.Read), p.Bytes.toHex(' ').data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TInput input(QByteArrayView(data, qsizetype(size)));
    const TSettings settings = ReadSettings(input);
    if (settings.Pattern.isEmpty()) return -1;  // no pattern, nothing to find
    const QList<QByteArrayView> reads = ReadReads(input);
    const QList<TPacket> expected = Expected(reads, settings);
    const QList<TPacket> detected = Detected(reads, settings);
    if (detected == expected) return 0;
    std::fprintf(stderr, "pattern %s, ignore case %d, auto enable %d\n",
                 settings.Pattern.toHex(' ').data(), settings.IgnoreCase, settings.AutoEnable);
    Print("expected", expected);
    Print("detected", detected);
    std::abort();
}
