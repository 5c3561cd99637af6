// Text conversions the program's messages and port list rely on.

#include <QtTest>

#include "application.h"
#include "devicemap.h"
#include "sysutils.h"

class TestSysUtils : public QObject {
    Q_OBJECT
private slots:
    void strToInt_data();
    void strToInt();
    void errorBoxText_data();
    void errorBoxText();
    void titleFromExeName_data();
    void titleFromExeName();
    void comNumberOf_data();
    void comNumberOf();
    void otherDevicesGetStableDistinctNumbers();
};

void TestSysUtils::strToInt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "12" << true << 12;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("leading spaces") << "  3" << true << 3;
    QTest::newRow("plus") << "+4" << true << 4;
    QTest::newRow("minus") << "-4" << true << -4;
    QTest::newRow("dollar hex") << "$1F" << true << 31;
    QTest::newRow("0x hex") << "0x1f" << true << 31;
    QTest::newRow("negative hex") << "-$10" << true << -16;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("overflow") << "2147483648" << false << 0;
    QTest::newRow("hex overflow") << "$80000000" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("spaces only") << "   " << false << 0;
    QTest::newRow("trailing space") << "3 " << false << 0;
    QTest::newRow("space after sign") << "- 3" << false << 0;
    QTest::newRow("letters") << "A0" << false << 0;
    QTest::newRow("hex digits without prefix") << "1F" << false << 0;
    QTest::newRow("prefix only") << "$" << false << 0;
    QTest::newRow("decimal point") << "1.5" << false << 0;
    QTest::newRow("non-ASCII digit") << QString::fromUtf8("\u0663") << false << 0;
}

void TestSysUtils::strToInt() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    try {
        const int result = StrToInt(text);
        QVERIFY2(valid, "accepted an invalid integer");
        QCOMPARE(result, value);
    } catch (const EConvertError& e) {
        QVERIFY2(!valid, "rejected a valid integer");
        QCOMPARE(e.Message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

void TestSysUtils::errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "ie_Open - device already open"
                            << "ie_Open - device already open.";
    QTest::newRow("apostrophe") << "Invalid data type for 'x'"
                                << "Invalid data type for 'x'";
    QTest::newRow("period") << "Done."
                            << "Done.";
    QTest::newRow("digit") << "error 5"
                           << "error 5.";
    QTest::newRow("bang") << "Stop!"
                          << "Stop!";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSysUtils::errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
}

void TestSysUtils::titleFromExeName_data() {
    QTest::addColumn<QString>("exeName");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "/usr/bin/orvinto"
                           << "orvinto";
    QTest::newRow("extension") << "/opt/Orvinto.bin"
                               << "Orvinto";
    QTest::newRow("capitals") << "/x/ORVINTO"
                              << "Orvinto";
    QTest::newRow("two dots") << "/x/orv.into.exe"
                              << "orv";
    QTest::newRow("dotted directory") << "/x.y/tool"
                                      << "tool";
}

void TestSysUtils::titleFromExeName() {
    QFETCH(QString, exeName);
    QFETCH(QString, title);
    QCOMPARE(TitleFromExeName(exeName), title);
}

void TestSysUtils::comNumberOf_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("com");
    QTest::newRow("ttyS0") << "ttyS0" << 1;
    QTest::newRow("ttyS3") << "ttyS3" << 4;
    QTest::newRow("ttyUSB0") << "ttyUSB0" << 101;
    QTest::newRow("ttyUSB12") << "ttyUSB12" << 113;
    QTest::newRow("ttyACM1") << "ttyACM1" << 202;
    QTest::newRow("rfcomm0") << "rfcomm0" << 301;
    QTest::newRow("ttyAMA0") << "ttyAMA0" << 401;
}

void TestSysUtils::comNumberOf() {
    QFETCH(QString, device);
    QFETCH(int, com);
    QCOMPARE(ComNumberOf(device), com);
}

void TestSysUtils::otherDevicesGetStableDistinctNumbers() {
    const QStringList others = {"ttyXRUSB0", "ttyMFD1", "ttyS100", "ttyUSB100", "ttyO2", "ttymxc0"};
    QSet<int> numbers;
    for (const QString& name : others) {
        const int com = ComNumberOf(name);
        QVERIFY2(com >= 1000 && com <= 65535, qPrintable(name));
        QCOMPARE(ComNumberOf(name), com);
        numbers.insert(com);
    }
    QCOMPARE(numbers.size(), others.size());
}

QTEST_GUILESS_MAIN(TestSysUtils)
#include "test_sysutils.moc"
