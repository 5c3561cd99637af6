// The port controller: the sorted port list and the boxes for a port that cannot be used.

#include <QtTest>

#include "apdcomport.h"
#include "application.h"
#include "devicemap.h"
#include "quencomports.h"
#include "recordedboxes.h"

namespace {

struct TController {
    explicit TController(const QStringList& portNames = {}) {
        QList<TRegistryValue> values;
        for (const QString& name : portNames) values.append({"/dev/x" + name, name});
        map = TStaticDeviceMap(values);
    }
    TRecordedBoxes boxes;
    TApplication application{QStringLiteral("/usr/bin/orvinto"), boxes};
    TStaticDeviceMap map;
    TApdComPort port{application, map};
    TQuenComPort controller{port, map, application};
};

}  // namespace

class TestPortController : public QObject {
    Q_OBJECT
private slots:
    void portList_data();
    void portList();
    void notificationsFireOnEveryChange();
    void portNumberKeepsItsLow16Bits();
    void sendingToAClosedPortSaysSo();
};

void TestPortController::portList_data() {
    QTest::addColumn<QStringList>("registry");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("error");
    QTest::newRow("numeric order")
        << QStringList{"COM1", "COM10", "COM2"} << QStringList{"1", "2", "10"} << "";
    QTest::newRow("none") << QStringList{} << QStringList{} << "";
    QTest::newRow("single") << QStringList{"COM7"} << QStringList{"7"} << "";
    QTest::newRow("single, not a number") << QStringList{"CNCA0"} << QStringList{"A0"} << "";
    QTest::newRow("prefix by position")
        << QStringList{"XYZ4", "COM3"} << QStringList{"3", "4"} << "";
    QTest::newRow("not a number among others")
        << QStringList{"COM1", "CNCA0", "COM2"} << QStringList{}
        << "'A0' is not a valid integer value";
    QTest::newRow("short name") << QStringList{"COM", "COM2"} << QStringList{}
                                << "'' is not a valid integer value";
}

void TestPortController::portList() {
    QFETCH(QStringList, registry);
    QFETCH(QStringList, list);
    QFETCH(QString, error);
    TController c(registry);
    try {
        QCOMPARE(c.controller.GetPortList(), list);
        QVERIFY(error.isEmpty());
    } catch (const EConvertError& e) {
        QCOMPARE(e.Message(), error);
    }
}

void TestPortController::notificationsFireOnEveryChange() {
    TController c;
    QStringList calls;
    c.controller.OnBaudChanged = [&](TQuenComPort* sender) {
        QCOMPARE(sender, &c.controller);
        calls << "baud";
    };
    c.controller.OnPortNumberChanged = [&](TQuenComPort*) { calls << "port"; };
    c.controller.SetBaud(9600);
    c.controller.SetBaud(9600);
    c.controller.SetPortNumber(3);
    c.controller.SetPortNumber(3);
    QCOMPARE(calls, (QStringList{"baud", "baud", "port", "port"}));
    QCOMPARE(c.port.Baud(), 9600);
    QCOMPARE(c.port.ComNumber(), 3);
}

void TestPortController::portNumberKeepsItsLow16Bits() {
    TController c({"COM1"});
    c.controller.SetPortNumber(65537);
    QCOMPARE(c.port.ComNumber(), 1);
    c.controller.SetPortNumber(65536);
    QVERIFY(!c.controller.OpenPort());
    QCOMPARE(c.boxes.Lines, QStringList{"box: orvinto: COM port is not selected."});
}

void TestPortController::sendingToAClosedPortSaysSo() {
    TController c;
    c.controller.SendText("AT@1\r");
    c.controller.ClosePort();  // silent: the port is not open
    QCOMPARE(c.boxes.Lines, QStringList{"box: orvinto: COM Port Closed"});
}

QTEST_GUILESS_MAIN(TestPortController)
#include "test_portcontroller.moc"
