// The main window: its layout, its answers to the user while a run is going on, and the
// listing phase of a run.

#include <QMessageBox>
#include <QScreen>
#include <QtTest>

#include "porttooltips.h"
#include "rig.h"
#include "scantool.h"
#include "virtualport.h"

class TestForm : public QObject {
    Q_OBJECT
private slots:
    void windowIsLaidOutAndCentred();
    void resizingKeepsTheAnchors();
    void listing_data();
    void listing();
    void logLinesShowTheirDevice();
    void secondClickDuringARunIsIgnored();
    void closingDuringARunEndsItPromptly();
    void boxesAreModalWithOneOkButton_data();
    void boxesAreModalWithOneOkButton();
    void programStartsAndShowsItsWindow();
    void closingDuringARunQuitsTheProgramWhenTheRunReturns();
};

void TestForm::windowIsLaidOutAndCentred() {
    TRig rig;
    TfrmMain& form = *rig.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(319, 421));
    const QPoint offCentre = form.geometry().center() - form.screen()->availableGeometry().center();
    QVERIFY(offCentre.manhattanLength() <= 2);
    QCOMPARE(form.reStatusLog->geometry(), QRect(8, 8, 303, 345));
    QCOMPARE(form.btnStart->geometry(), QRect(127, 358, 75, 25));
    QCOMPARE(form.Label1->geometry(), QRect(0, 400, 321, 13));
    QCOMPARE(form.btnStart->text(), "Start");
    QVERIFY(!form.reStatusLog->isReadOnly());
    QVERIFY(form.reStatusLog->toPlainText().isEmpty());
}

void TestForm::resizingKeepsTheAnchors() {
    TRig rig;
    TfrmMain& form = *rig.form;
    form.show();
    form.resize(419, 521);
    QCOMPARE(form.reStatusLog->geometry(), QRect(8, 8, 403, 445));
    QCOMPARE(form.btnStart->geometry(), QRect(179, 458, 75, 25));  // centre kept in proportion
    QCOMPARE(form.Label1->geometry(), QRect(0, 500, 421, 13));
}

void TestForm::listing_data() {
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("no ports") << QStringList{}
                              << "= Retrieving list of available COM ports: =\n"
                                 " Error: couldn't find any COM ports\n"
                              << QStringList{};
    QTest::newRow("a single port name that is not a number")
        << QStringList{"CNCA0"}
        << "= Retrieving list of available COM ports: =\n   COMA0\n\n"
           "= Attempting to connect at 38400 baud =\n  Looking on COMA0"
        << QStringList{"error: orvinto: 'A0' is not a valid integer value."};
    QTest::newRow("a port name that is not a number")
        << QStringList{"COM1", "CNCA0", "COM2"} << "= Retrieving list of available COM ports: =\n"
        << QStringList{"error: orvinto: 'A0' is not a valid integer value."};
}

void TestForm::listing() {
    QFETCH(QStringList, ports);
    QFETCH(QString, log);
    QFETCH(QStringList, boxes);
    QList<TRegistryValue> values;
    for (const QString& port : ports) values.append({"/dev/orvinto-test-" + port, port});
    TRig rig(values);
    rig.form->reStatusLog->SetSelText("left over from before");

    QCOMPARE(rig.Run(), log);
    QCOMPARE(rig.boxes.Lines, boxes);
    QVERIFY(rig.form->btnStart->isEnabled());
}

void TestForm::logLinesShowTheirDevice() {
    const TStaticDeviceMap map({{"/dev/ttyUSB0", "COM101"}, {"/dev/ttyS0", "COM1"}});
    QTextEdit log;
    const TPortToolTips tips(&log, map);
    QCOMPARE(tips.ToolTipFor("   COM101"), "/dev/ttyUSB0");
    QCOMPARE(tips.ToolTipFor("  Looking on COM1...nothing"), "/dev/ttyS0");
    QCOMPARE(tips.ToolTipFor("   COM7"), QString());
    QCOMPARE(tips.ToolTipFor("End of search."), QString());
}

void TestForm::secondClickDuringARunIsIgnored() {
    TVirtualPort port;
    TScanTool device(port);
    TRig rig({{port.Path(), "COM1"}});
    bool disabledDuringRun = false;
    QTimer::singleShot(300, rig.form.get(), [&] {
        disabledDuringRun = !rig.form->btnStart->isEnabled();
        rig.form->btnStart->click();
    });

    const QString log = rig.Run();
    QVERIFY(disabledDuringRun);
    QCOMPARE(log.count("= Retrieving list"), 1);
    QCOMPARE(device.AllReceived(), QByteArray("\rAT@1\r\rAT@1\r"));
    QVERIFY(rig.form->btnStart->isEnabled());
}

void TestForm::closingDuringARunEndsItPromptly() {
    TVirtualPort one, two;
    TScanTool deviceOne(one), deviceTwo(two);
    TRig rig({{one.Path(), "COM1"}, {two.Path(), "COM2"}, {"/dev/orvinto-gone", "COM3"}});
    rig.form->show();
    QTimer::singleShot(200, rig.form.get(), [&] { rig.form->close(); });

    QElapsedTimer clock;
    clock.start();
    const QString log = rig.Run();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(log.endsWith("End of search.\n"));
    QVERIFY(!rig.form->ApdComPort->Open());
    QVERIFY(rig.boxes.Lines.isEmpty());  // boxes close at once once the program is ending
}

void TestForm::boxesAreModalWithOneOkButton_data() {
    QTest::addColumn<bool>("error");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::newRow("message") << false << QMessageBox::NoIcon;
    QTest::newRow("error") << true << QMessageBox::Critical;
}

void TestForm::boxesAreModalWithOneOkButton() {
    QFETCH(bool, error);
    QFETCH(QMessageBox::Icon, icon);
    TMessageBoxes boxes;
    bool seen = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = true;
        QCOMPARE(box->windowTitle(), "orvinto");
        QCOMPARE(box->text(), "COM Port Closed");
        QCOMPARE(box->icon(), icon);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->defaultButton()), QMessageBox::Ok);
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
        box->defaultButton()->click();
    });
    if (error)
        boxes.Error("orvinto", "COM Port Closed");
    else
        boxes.Message("orvinto", "COM Port Closed");
    QVERIFY(seen);
}

void TestForm::programStartsAndShowsItsWindow() {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ORVINTO_PROGRAM));
    QVERIFY(program.waitForStarted());
    QVERIFY(!program.waitForFinished(1500));  // still up, its window shown
    program.terminate();
    QVERIFY(program.waitForFinished());
}

void TestForm::closingDuringARunQuitsTheProgramWhenTheRunReturns() {
    TVirtualPort port;
    TScanTool device(port);
    TRig rig({{port.Path(), "COM1"}});
    rig.form->show();
    QTimer::singleShot(0, rig.form->btnStart, &QPushButton::click);
    QTimer::singleShot(300, rig.form.get(), &QWidget::close);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(Transcript(*rig.form->reStatusLog->document()).endsWith("End of search.\n"));
    QVERIFY(!rig.form->ApdComPort->Open());
}

QTEST_MAIN(TestForm)
#include "test_form.moc"
