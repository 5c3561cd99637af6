// Faults and load: the search stays calm, bounded and leak-free whatever the devices do.

#include <unistd.h>
#include <QtTest>

#include "floodingdevice.h"
#include "rig.h"
#include "scantool.h"
#include "virtualport.h"

namespace {

// A field of /proc/self/status, such as VmRSS (in kB) or Threads.
qint64 Status(const QByteArray& field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    return -1;
}

// AddressSanitizer's quarantine holds freed memory for a while; LeakSanitizer checks instead.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kMeasuresMemory = false;
#else
constexpr bool kMeasuresMemory = true;
#endif

qint64 OpenFiles() {
    return QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot).size();
}

const QString kNoAccessBox =
    "error: orvinto: Cannot open %1: permission denied. Join the dialout group "
    "(sudo usermod -aG dialout $USER), then log in again.";

}  // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void portVanishedAfterTheListing();
    void failureOfOneConnectionStaysWithIt();
    void floodKeepsTheWaitsAndMemoryBounded();
    void portWithoutAccessEndsTheRunWithTheRemedy();
    void fiveHundredProbesLeakNothing();
};

void TestFaults::portVanishedAfterTheListing() {
    // Reached through a link of our own, so that no other pseudo-terminal can take its name.
    TVirtualPort first, vanishing;
    TScanTool device(first);
    const QTemporaryDir dir;
    const QString link = dir.filePath("ttyVanishing");
    QVERIFY(QFile::link(vanishing.Path(), link));
    TRig rig({{first.Path(), "COM1"}, {link, "COM2"}});
    QTimer::singleShot(300, [&] {  // while COM1 is probed
        QFile::remove(link);
        vanishing.Unplug();
    });

    const QString log = rig.Run();
    QVERIFY(log.contains("  Looking on COM2...nothing\n"));
    QVERIFY(!log.contains("found"));
    QCOMPARE(
        rig.boxes.Lines.count("box: orvinto: Unable to open. Specified COM port does not exist"),
        2);
    QCOMPARE(rig.boxes.Lines.count("box: orvinto: COM Port Closed"), 4);
}

void TestFaults::failureOfOneConnectionStaysWithIt() {
    // COM1's device is unplugged late in its probe while the program is too busy to notice:
    // the failure is noticed only as the probe ends, and must not touch COM2's connection.
    TVirtualPort failing, answering;
    TScanTool dying(failing);
    TScanTool tool(answering, {38400, 9600});
    const QTemporaryDir dir;
    const QString link = dir.filePath("ttyFailing");  // a name no other pseudo-terminal takes
    QVERIFY(QFile::link(failing.Path(), link));
    TRig rig({{link, "COM1"}, {answering.Path(), "COM2"}});
    QTimer::singleShot(800, [&] {
        QFile::remove(link);
        dying.Unplug();
        ::usleep(500'000);
    });

    const QString log = rig.Run();
    QCOMPARE(log.count("  Looking on COM2...<red>found scan tool!</red>"), 2);
    QCOMPARE(rig.boxes.Lines,
             (QStringList{"error: Application Error: Device read error",
                          "box: orvinto: Unable to open. Specified COM port does not exist",
                          "box: orvinto: COM Port Closed", "box: orvinto: COM Port Closed"}));
}

void TestFaults::floodKeepsTheWaitsAndMemoryBounded() {
    TVirtualPort port;
    TRig rig({{port.Path(), "COM1"}});
    rig.Run();  // a quiet run first: the allocator and Qt's caches settle
    const qint64 peakBefore = Status("VmHWM");
    TFloodingDevice device(port, 1 << 20);

    QElapsedTimer clock;
    clock.start();
    const QString log = rig.Run();
    const qint64 elapsed = clock.elapsed();
    QVERIFY(log.contains("  Looking on COM1...nothing\n"));
    QVERIFY(!log.contains("found"));
    QVERIFY2(device.Sent() >= 1 << 20, qPrintable(QString::number(device.Sent())));
    // Two probes of at most 23 ticks each, plus our own work.
    QVERIFY2(elapsed <= 2 * 23 * 55 + 200, qPrintable(QString::number(elapsed)));
    const qint64 growth = Status("VmHWM") - peakBefore;
    if (kMeasuresMemory)
        QVERIFY2(growth < 512, qPrintable(QStringLiteral("peak memory grew by %1 kB").arg(growth)));
    QVERIFY(rig.boxes.Lines.isEmpty());
}

void TestFaults::portWithoutAccessEndsTheRunWithTheRemedy() {
    TVirtualPort port;
    TScanTool device(port);
    if (::geteuid() != 0) {
        QVERIFY(QFile::setPermissions(port.Path(), {}));
        TRig rig({{port.Path(), "COM1"}});
        QVERIFY(rig.Run().endsWith("  Looking on COM1"));
        QCOMPARE(rig.boxes.Lines, QStringList{kNoAccessBox.arg(port.Path())});
        return;
    }
    // Root opens any device: the scenario runner runs as an unprivileged user instead, from a
    // folder that user can reach wherever the build tree is.
    QTemporaryDir dir;
    const QString runner = dir.filePath("orvinto-scenario");
    const QString map = dir.filePath("map");
    QVERIFY(QFile::copy(QStringLiteral(ORVINTO_SCENARIO), runner));
    QFile mapFile(map);
    QVERIFY(mapFile.open(QIODevice::WriteOnly));
    mapFile.write(port.Path().toUtf8() + "\tCOM1\n");
    mapFile.close();
    const auto readable = QFile::ReadOwner | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(dir.path(), readable | QFile::ExeOwner | QFile::ExeOther));
    QVERIFY(QFile::setPermissions(runner, readable | QFile::ExeOwner | QFile::ExeOther));
    QVERIFY(QFile::setPermissions(map, readable));

    QProcess process;
    process.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", runner, map});
    QVERIFY(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 30000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(process.exitCode() == 0, qPrintable(process.readAllStandardError()));
    QVERIFY2(out.contains(kNoAccessBox.arg(port.Path()) + "\nlog:\n"), qPrintable(out));
    QVERIFY(out.endsWith("  Looking on COM1"));
}

void TestFaults::fiveHundredProbesLeakNothing() {
    // Soak only: ticks of 1 ms so that 500 probes take seconds, not minutes.
    TVirtualPort silent, answering;
    TScanTool quiet(silent);
    TReply quick;
    quick.delayMs = 1;
    TScanTool tool(answering, {38400, 9600}, quick);
    TRecordedBoxes boxes;
    TApplication application("/usr/bin/orvinto", boxes);
    const TStaticDeviceMap map({{silent.Path(), "COM1"}, {answering.Path(), "COM2"}});
    const auto form = CreateMainForm(application, map, std::chrono::milliseconds(1));
    const auto search = [&form](int runs) {
        for (int run = 0; run < runs; ++run) form->btnStart->click();
    };

    search(10);
    const qint64 files = OpenFiles();
    const qint64 threads = Status("Threads");
    const qint64 rss = Status("VmRSS");
    search(125);  // 125 runs of 2 ports in 2 passes: 500 probes
    QCOMPARE(OpenFiles(), files);
    QCOMPARE(Status("Threads"), threads);
    if (kMeasuresMemory) QVERIFY2(Status("VmRSS") - rss < 2048, "memory grew by 2 MB or more");
    QVERIFY(boxes.Lines.isEmpty());
    QCOMPARE(Transcript(*form->reStatusLog->document()).count("found scan tool!"), 2);
}

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
