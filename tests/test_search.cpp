// End-to-end searches through the real main form, on virtual ports.

#include <QtTest>

#include "rig.h"
#include "scantool.h"
#include "virtualport.h"

namespace {

const QString kHeading = QStringLiteral("= Retrieving list of available COM ports: =\n");
const QString k38400 = QStringLiteral("= Attempting to connect at 38400 baud =\n");
const QString k9600 = QStringLiteral("= Attempting to connect at 9600 baud =\n");

QString Nothing(int port) {
    return QStringLiteral("  Looking on COM%1...nothing\n").arg(port);
}

}  // namespace

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void silentPortsGiveNothingInBothPasses();
    void deviceReceivesWakeUpAndProbeAtEachRate();
    void toolAnsweringAt9600IsFoundInTheSecondPass();
    void toolAnsweringAtBothRatesIsFoundTwice();
    void lineAfterAFoundVerdictStartsWithTheBlackSpace();
    void lateReplyIsCreditedToNoLaterProbe();
    void missingPortGivesThreeBoxesAndNothing();
    void portHeldByAnotherProgramEndsTheRun();
    void unpluggedDeviceGivesOneReadErrorAndTheRunGoesOn();
};

void TestSearch::silentPortsGiveNothingInBothPasses() {
    TVirtualPort one, three;
    TScanTool silentOne(one), silentThree(three);
    TRig rig({{one.Path(), "COM1"}, {three.Path(), "COM3"}});

    QCOMPARE(rig.Run(), kHeading + "   COM1\n   COM3\n\n" + k38400 + Nothing(1) + Nothing(3) +
                            "\n\n" + k9600 + Nothing(1) + Nothing(3) + "\n\nEnd of search.\n");
    QCOMPARE(rig.boxes.Lines, QStringList());
}

void TestSearch::deviceReceivesWakeUpAndProbeAtEachRate() {
    TVirtualPort port;
    TScanTool device(port);
    TRig rig({{port.Path(), "COM5"}});
    rig.Run();

    QCOMPARE(device.AllReceived(), QByteArray("\rAT@1\r\rAT@1\r"));
    QList<int> rates;
    for (const TReceived& r : device.Received) rates.append(r.baud);
    QCOMPARE(rates.first(), 38400);
    QCOMPARE(rates.last(), 9600);
}

void TestSearch::toolAnsweringAt9600IsFoundInTheSecondPass() {
    TVirtualPort one, three;
    TScanTool silent(one);
    TScanTool tool(three, {9600});
    TRig rig({{three.Path(), "COM3"}, {one.Path(), "COM1"}});

    QCOMPARE(rig.Run(),
             kHeading + "   COM1\n   COM3\n\n" + k38400 + Nothing(1) + Nothing(3) + "\n\n" + k9600 +
                 Nothing(1) +
                 "  Looking on COM3...<red>found scan tool!</red>\n \n\nEnd of search.\n");
}

void TestSearch::toolAnsweringAtBothRatesIsFoundTwice() {
    TVirtualPort port;
    TScanTool tool(port, {38400, 9600});
    TRig rig({{port.Path(), "COM2"}});

    const QString found = QStringLiteral("  Looking on COM2...<red>found scan tool!</red>\n");
    QCOMPARE(rig.Run(), kHeading + "   COM2\n\n" + k38400 + found + " \n\n" + k9600 + found +
                            " \n\nEnd of search.\n");
}

void TestSearch::lineAfterAFoundVerdictStartsWithTheBlackSpace() {
    TVirtualPort one, two;
    TScanTool tool(one, {38400});
    TScanTool silent(two);
    TRig rig({{one.Path(), "COM1"}, {two.Path(), "COM2"}});

    QCOMPARE(rig.Run(), kHeading + "   COM1\n   COM2\n\n" + k38400 +
                            "  Looking on COM1...<red>found scan tool!</red>\n" + " " + Nothing(2) +
                            "\n\n" + k9600 + Nothing(1) + Nothing(2) + "\n\nEnd of search.\n");
}

void TestSearch::lateReplyIsCreditedToNoLaterProbe() {
    // The reply completes only after the probe's last wait: too late for its own verdict, and
    // it must not leak into the next port's probe or the next pass.
    TVirtualPort late, next;
    TReply slow;
    slow.delayMs = 1000;
    TScanTool tool(late, {38400, 9600}, slow);
    TScanTool silent(next);
    TRig rig({{late.Path(), "COM1"}, {next.Path(), "COM2"}});

    QCOMPARE(rig.Run(), kHeading + "   COM1\n   COM2\n\n" + k38400 + Nothing(1) + Nothing(2) +
                            "\n\n" + k9600 + Nothing(1) + Nothing(2) + "\n\nEnd of search.\n");
}

void TestSearch::missingPortGivesThreeBoxesAndNothing() {
    TRig rig({{QStringLiteral("/dev/orvinto-no-such-device"), QStringLiteral("COM4")}});

    QCOMPARE(rig.Run(), kHeading + "   COM4\n\n" + k38400 + Nothing(4) + "\n\n" + k9600 +
                            Nothing(4) + "\n\nEnd of search.\n");
    const QStringList probe = {"box: orvinto: Unable to open. Specified COM port does not exist",
                               "box: orvinto: COM Port Closed", "box: orvinto: COM Port Closed"};
    QCOMPARE(rig.boxes.Lines, probe + probe);
}

void TestSearch::portHeldByAnotherProgramEndsTheRun() {
    TVirtualPort port;
    QSerialPort holder(port.Path());  // another program, holding the port's lock
    QVERIFY(holder.open(QIODevice::ReadWrite));
    TRig rig({{port.Path(), "COM7"}});

    QCOMPARE(rig.Run(), kHeading + "   COM7\n\n" + k38400 + "  Looking on COM7");
    QCOMPARE(rig.boxes.Lines, QStringList{"error: orvinto: ie_Open - device already open."});
    QVERIFY(rig.form->btnStart->isEnabled());
}

void TestSearch::unpluggedDeviceGivesOneReadErrorAndTheRunGoesOn() {
    TVirtualPort port;
    TScanTool device(port);
    TRig rig({{port.Path(), "COM9"}});
    QTimer::singleShot(400, &device, [&device] { device.Unplug(); });

    const QString log = rig.Run();
    QCOMPARE(rig.boxes.Lines.count("error: Application Error: Device read error"), 1);
    QVERIFY(log.endsWith("End of search.\n"));
    QVERIFY(!rig.form->ApdComPort->Open());
}

QTEST_MAIN(TestSearch)
#include "test_search.moc"
