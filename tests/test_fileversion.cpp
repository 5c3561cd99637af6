// The window title's file version: read from a program file's package metadata note.

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "application.h"
#include "devicemap.h"
#include "fileversion.h"
#include "main.h"
#include "recordedboxes.h"

namespace {

const QString kProgram = QStringLiteral(ORVINTO_PROGRAM);
const QString kFileVersion = QStringLiteral(ORVINTO_FILE_VERSION);

QByteArray Contents(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestFileVersion : public QObject {
    Q_OBJECT

    QTemporaryDir Dir;

    // A file in the temporary directory with the given contents.
    QString Write(const QString& name, const QByteArray& contents) {
        QFile file(Dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

    // This test program is linked without the note.
    static QString ProgramWithoutNote() { return QCoreApplication::applicationFilePath(); }

private slots:
    void initTestCase() {
        QVERIFY(Dir.isValid());
        QVERIFY2(QFile::exists(kProgram), qPrintable(kProgram));
    }

    void readsVersion_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("version");
        const QByteArray program = Contents(kProgram);

        QTest::newRow("program") << kProgram << kFileVersion;
        QTest::newRow("program as 32-bit ELF")
            << QStringLiteral(ORVINTO_PROGRAM_ELF32) << kFileVersion;
        QTest::newRow("build without the note") << ProgramWithoutNote() << QString();
        QTest::newRow("cut inside the note")
            << Write("cut", program.left(program.indexOf("\"version\""))) << QString();
        QTest::newRow("ELF header only") << Write("header", program.left(64)) << QString();
        QTest::newRow("not ELF") << Write("json", R"({"version":"1.0.0.5"})") << QString();
        QTest::newRow("empty file") << Write("empty", {}) << QString();
        QTest::newRow("missing file") << Dir.filePath("missing") << QString();
    }

    void readsVersion() {
        QFETCH(QString, fileName);
        QFETCH(QString, version);
        QCOMPARE(PackageNoteVersion(fileName), version);
    }

    void titlesMainForm_data() {
        QTest::addColumn<QString>("exeName");
        QTest::addColumn<QString>("title");
        QTest::newRow("program") << kProgram << QStringLiteral("Orvinto ") + kFileVersion;
        QTest::newRow("without the note") << ProgramWithoutNote() << QStringLiteral("Orvinto ");
    }

    void titlesMainForm() {
        QFETCH(QString, exeName);
        QFETCH(QString, title);
        TRecordedBoxes boxes;
        TApplication application(exeName, boxes);
        const TStaticDeviceMap registry;
        const auto form = CreateMainForm(application, registry);
        QCOMPARE(form->windowTitle(), title);
        QVERIFY(boxes.Lines.isEmpty());
    }
};

QTEST_MAIN(TestFileVersion)
#include "test_fileversion.moc"
