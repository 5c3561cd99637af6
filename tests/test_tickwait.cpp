// The timed wait: its length in ticks, its cost, and what it lets happen meanwhile.

#include <QtTest>
#include <ctime>

#include "application.h"
#include "recordedboxes.h"
#include "tickwait.h"

namespace {

// The millisecond clock that ticks are counted on.
qint64 NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

}  // namespace

class TestTickWait : public QObject {
    Q_OBJECT
private slots:
    void lastsItsTicks_data();
    void lastsItsTicks();
    void deliversEventsMeanwhile();
    void endsAtOnceOnceTheApplicationIsEnding();

private:
    TRecordedBoxes boxes;
};

void TestTickWait::lastsItsTicks_data() {
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("moreThanMs");
    QTest::addColumn<int>("atMostMs");
    QTest::newRow("5 ticks") << 5 << 275 << 330;
    QTest::newRow("10 ticks") << 10 << 550 << 605;
    QTest::newRow("none") << 0 << -1 << 5;
    QTest::newRow("negative") << -3 << -1 << 5;
}

void TestTickWait::lastsItsTicks() {
    QFETCH(int, ticks);
    QFETCH(int, moreThanMs);
    QFETCH(int, atMostMs);
    TApplication application("/usr/bin/orvinto", boxes);
    TTickWait wait(application);
    // Never early; late only by the time the machine takes to run us again, so the upper bound
    // is asked of the median of a few rounds.
    QList<qint64> lengths;
    for (int round = 0; round < 5; ++round) {
        const qint64 start = NowMs();
        const double cpuBefore = CpuMs();
        const auto waitedBefore = wait.Waited();
        const auto entered = std::chrono::steady_clock::now();
        wait.DelayTicks(ticks);
        const auto outside = std::chrono::steady_clock::now() - entered;
        const qint64 elapsed = NowMs() - start;
        const double cpu = CpuMs() - cpuBefore;
        QVERIFY2(elapsed > moreThanMs, qPrintable(QString::number(elapsed)));
        QVERIFY2(cpu < 5, qPrintable(QStringLiteral("%1 ms of CPU").arg(cpu)));
        // The statistic counts this wait, whole, and nothing else.
        const auto waited = wait.Waited() - waitedBefore;
        QVERIFY(waited <= outside);
        if (ticks > 0)
            QVERIFY(outside - waited < std::chrono::milliseconds(5));
        else
            QCOMPARE(waited.count(), 0);
        lengths.append(elapsed);
    }
    std::sort(lengths.begin(), lengths.end());
    QVERIFY2(lengths[2] <= atMostMs, qPrintable(QString::number(lengths[2])));
}

void TestTickWait::deliversEventsMeanwhile() {
    TApplication application("/usr/bin/orvinto", boxes);
    bool delivered = false;
    QTimer::singleShot(50, [&] { delivered = true; });
    TTickWait(application).DelayTicks(5);
    QVERIFY(delivered);
}

void TestTickWait::endsAtOnceOnceTheApplicationIsEnding() {
    TApplication application("/usr/bin/orvinto", boxes);
    TTickWait wait(application);
    QTimer::singleShot(100, &application, &TApplication::Terminate);
    QElapsedTimer clock;
    clock.start();
    wait.DelayTicks(10);
    QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
    wait.DelayTicks(10);  // the request stays: later waits end at once too
    QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
}

QTEST_GUILESS_MAIN(TestTickWait)
#include "test_tickwait.moc"
