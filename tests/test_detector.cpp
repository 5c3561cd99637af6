// The reply detector: which streams, cut into which reads, raise which packets.

#include <QtTest>

#include "apddatapacket.h"

namespace {

using Reads = QList<QByteArray>;

// Feeds the reads to a detector armed as the main form arms it; returns the packets raised.
QList<QByteArray> Packets(const Reads& reads) {
    TApdDataPacket detector;
    detector.StartString = "MARLOVENTICS";
    QList<QByteArray> packets;
    detector.OnPacket = [&](QObject* sender, const void* data, int size) {
        QCOMPARE(sender, &detector);
        packets.append(QByteArray(static_cast<const char*>(data), size));
    };
    detector.PortOpened();
    for (const QByteArray& read : reads) detector.PortData(read);
    return packets;
}

Reads Bytewise(const QByteArray& stream) {
    Reads reads;
    for (const char c : stream) reads.append(QByteArray(1, c));
    return reads;
}

}  // namespace

class TestDetector : public QObject {
    Q_OBJECT
private slots:
    void detects_data();
    void detects();
    void bytesBeforeTheOpenAreNeverSeen();
    void closingDropsAPartialMatch();
};

void TestDetector::detects_data() {
    QTest::addColumn<Reads>("reads");
    QTest::addColumn<QList<QByteArray>>("packets");
    const QByteArray id = "MARLOVENTICS";
    QTest::newRow("upper case") << Reads{id} << QList{id};
    QTest::newRow("lower case") << Reads{"marloventics"} << QList<QByteArray>{"marloventics"};
    QTest::newRow("mixed case, in a reply")
        << Reads{"\r\nELM v1\r\nMarLoVentICS 2.1\r\n>"} << QList<QByteArray>{"MarLoVentICS"};
    QTest::newRow("split across two reads") << Reads{"xxMARLO", "VENTICSyy"} << QList{id};
    QTest::newRow("one byte a read") << Bytewise("MMARLOVENTICS") << QList{id};
    QTest::newRow("split where a partial match restarts")
        << Reads{"MARLOVE", "MARLOVENTICS"} << QList{id};
    QTest::newRow("doubled first letter") << Reads{"MMARLOVENTICS"} << QList{id};
    QTest::newRow("failed attempt inside the next") << Reads{"MARLMARLOVENTICS"} << QList{id};
    QTest::newRow("two in one read")
        << Reads{"MARLOVENTICS\r\nmarloventics"} << QList<QByteArray>{id, "marloventics"};
    QTest::newRow("two back to back, split")
        << Reads{"MARLOVENTICSMARLO", "VENTICS"} << QList{id, id};
    QTest::newRow("missing letter") << Reads{"MARLOVENTIS"} << QList<QByteArray>{};
    QTest::newRow("letter swapped") << Reads{"MARLOVENITCS"} << QList<QByteArray>{};
    QTest::newRow("gap across reads") << Reads{"MARLOV", " ", "ENTICS"} << QList<QByteArray>{};
    QTest::newRow("folding is ASCII only")
        << Reads{"MARLOVENTIC\xd3", "MARLOVENTIC\x73"} << QList<QByteArray>{"MARLOVENTIC\x73"};
    QTest::newRow("no folding of neighbours of letters")
        << Reads{"M@RLOVENTICS", "MARLOVENTIC\x13"} << QList<QByteArray>{};
    QTest::newRow("NUL bytes around") << Reads{QByteArray("\0MARLOVENTICS\0", 14)} << QList{id};
}

void TestDetector::detects() {
    QFETCH(Reads, reads);
    QFETCH(QList<QByteArray>, packets);
    QCOMPARE(Packets(reads), packets);
}

void TestDetector::bytesBeforeTheOpenAreNeverSeen() {
    TApdDataPacket detector;
    detector.StartString = "MARLOVENTICS";
    int packets = 0;
    detector.OnPacket = [&](QObject*, const void*, int) { ++packets; };
    detector.PortData("MARLOVENTICS");
    detector.PortOpened();
    detector.PortData("VENTICS");
    QCOMPARE(packets, 0);
}

void TestDetector::closingDropsAPartialMatch() {
    TApdDataPacket detector;
    detector.StartString = "MARLOVENTICS";
    int packets = 0;
    detector.OnPacket = [&](QObject*, const void*, int) { ++packets; };
    detector.PortOpened();
    detector.PortData("MARLOVEN");
    detector.PortClosing();
    detector.PortData("TICS");
    detector.PortOpened();
    detector.PortData("TICS");
    QCOMPARE(packets, 0);
    detector.PortData("MARLOVENTICS");
    QCOMPARE(packets, 1);
}

QTEST_GUILESS_MAIN(TestDetector)
#include "test_detector.moc"
