// bench_detector [benchmark options]: how fast the reply detector scans received bytes. It feeds
// 64 MiB of pseudo-random noise, carrying the identification string in mixed case every few
// tens of KiB, to one detector in reads of fixed sizes, and reports the bytes scanned per second
// and the packets raised per pass. A pass that raises a different number of packets than the
// stream carries is reported as an error.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <algorithm>
#include <random>

#include "apddatapacket.h"

namespace {

const QByteArray Identification = "MARLOVENTICS";
constexpr qsizetype StreamSize = qsizetype(64) << 20;
constexpr qsizetype MinGap = 16 << 10;
constexpr qsizetype MaxGap = 48 << 10;

struct TNoise {
    QByteArray Bytes;
    qint64 Occurrences = 0;
};

QByteArray MixedCase(const QByteArray& text, std::mt19937_64& random) {
    QByteArray mixed = text;
    for (char& c : mixed)
        if (random() & 1) c = char(c - 'A' + 'a');
    return mixed;
}

// Fixed seed: every run scans the same stream.
TNoise MakeNoise() {
    std::mt19937_64 random(20240611);
    TNoise noise;
    noise.Bytes.resize(StreamSize);
    std::generate(noise.Bytes.begin(), noise.Bytes.end(), [&random] { return char(random()); });
    std::uniform_int_distribution<qsizetype> gap(MinGap, MaxGap);
    for (qsizetype at = gap(random); at + Identification.size() <= StreamSize; at += gap(random)) {
        const QByteArray occurrence = MixedCase(Identification, random);
        std::copy(occurrence.begin(), occurrence.end(), noise.Bytes.begin() + at);
        ++noise.Occurrences;
    }
    return noise;
}

void ScanNoise(benchmark::State& state, const TNoise& noise) {
    const qsizetype readSize = state.range(0);
    const QByteArrayView stream(noise.Bytes);
    TApdDataPacket detector;
    detector.StartString = Identification;
    detector.IgnoreCase = true;
    qint64 packets = 0;
    detector.OnPacket = [&packets](QObject*, const void*, int) { ++packets; };
    for (auto _ : state) {
        packets = 0;
        detector.PortOpened();
        for (qsizetype at = 0; at < stream.size(); at += readSize)
            detector.PortData(stream.sliced(at, std::min(readSize, stream.size() - at)));
        detector.PortClosing();
        if (packets != noise.Occurrences) {
            state.SkipWithError("the packets raised differ from the occurrences in the stream");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.counters["packets"] = double(packets);
}

}  // namespace

int main(int argc, char** argv) {
    const TNoise noise = MakeNoise();
    benchmark::RegisterBenchmark("ScanNoise", ScanNoise, noise)
        ->ArgName("read")
        ->Arg(32)
        ->Arg(4096)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
