// The headless scenario runner's output, byte for byte: acceptance checks read it.

#include <QtTest>

#include "scantool.h"
#include "virtualport.h"

namespace {

const QByteArray kHeading = "= Retrieving list of available COM ports: =\n";
const QByteArray k38400 = "= Attempting to connect at 38400 baud =\n";
const QByteArray k9600 = "= Attempting to connect at 9600 baud =\n";

// Runs orvinto-scenario on a map file made of `map`, serving the virtual ports meanwhile.
QByteArray Scenario(const QByteArray& map) {
    QTemporaryFile file;
    if (!file.open()) return "cannot write the map";
    file.write(map);
    file.close();
    QProcess runner;
    runner.setProcessChannelMode(QProcess::SeparateChannels);
    runner.start(QStringLiteral(ORVINTO_SCENARIO), {file.fileName()});
    if (!QTest::qWaitFor([&] { return runner.state() == QProcess::NotRunning; }, 60000))
        return "timed out";
    if (runner.exitStatus() != QProcess::NormalExit || runner.exitCode() != 0) return "failed";
    return runner.readAllStandardOutput();
}

QByteArray Line(const QString& path, const char* port) {
    return path.toUtf8() + '\t' + port + '\n';
}

}  // namespace

class TestScenario : public QObject {
    Q_OBJECT
private slots:
    void listingEndsEarly();
    void listsPortsInNumericOrder();
    void twoSilentPorts();
    void toolAt9600AndAMissingPort();
};

void TestScenario::listingEndsEarly() {
    QCOMPARE(Scenario("\n"), "title: " + QByteArray(ORVINTO_TITLE) + "\nlog:\n" + kHeading +
                                 " Error: couldn't find any COM ports\n");
    const QByteArray out = Scenario("/dev/a\tCOM1\n/dev/b\tCNCA0\n\n/dev/c\tCOM2\n");
    QVERIFY(out.endsWith("error: orvinto: 'A0' is not a valid integer value.\nlog:\n" + kHeading));
}

void TestScenario::listsPortsInNumericOrder() {
    TVirtualPort one, two, ten;
    TScanTool silentOne(one), silentTwo(two), silentTen(ten);
    const QByteArray out =
        Scenario(Line(one.Path(), "COM1") + Line(ten.Path(), "COM10") + Line(two.Path(), "COM2"));
    QVERIFY2(out.contains("log:\n" + kHeading + "   COM1\n   COM2\n   COM10\n\n" + k38400 +
                          "  Looking on COM1...nothing\n  Looking on COM2...nothing\n"
                          "  Looking on COM10...nothing\n"),
             out.constData());
}

void TestScenario::twoSilentPorts() {
    TVirtualPort one, three;
    TScanTool silentOne(one), silentThree(three);
    const QByteArray nothing1 = "  Looking on COM1...nothing\n";
    const QByteArray nothing3 = "  Looking on COM3...nothing\n";
    const QByteArray out = Scenario(Line(three.Path(), "COM3") + Line(one.Path(), "COM1"));
    QCOMPARE(out, "title: " + QByteArray(ORVINTO_TITLE) + "\nlog:\n" + kHeading +
                      "   COM1\n   COM3\n\n" + k38400 + nothing1 + nothing3 + "\n\n" + k9600 +
                      nothing1 + nothing3 + "\n\nEnd of search.\n");
}

void TestScenario::toolAt9600AndAMissingPort() {
    TVirtualPort port;
    TReply chunked;
    chunked.text = "\r\n?\r\nmarLOVentics\r\n>";
    chunked.chunk = 3;
    chunked.gapMs = 10;
    TScanTool tool(port, {9600}, chunked);
    const QByteArray out =
        Scenario(Line(port.Path(), "COM10") + Line("/dev/orvinto-no-such-device", "COM2"));
    const QByteArray boxes =
        "box: orvinto: Unable to open. Specified COM port does not exist\n"
        "box: orvinto: COM Port Closed\n"
        "box: orvinto: COM Port Closed\n";
    QCOMPARE(out, "title: " + QByteArray(ORVINTO_TITLE) + "\n" + boxes + boxes + "log:\n" +
                      kHeading + "   COM2\n   COM10\n\n" + k38400 +
                      "  Looking on COM2...nothing\n  Looking on COM10...nothing\n\n\n" + k9600 +
                      "  Looking on COM2...nothing\n"
                      "  Looking on COM10...<red>found scan tool!</red>\n \n\nEnd of search.\n");
}

QTEST_GUILESS_MAIN(TestScenario)
#include "test_scenario.moc"
