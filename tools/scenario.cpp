// orvinto-scenario MAPFILE: runs one search of the real main window, headless, on the serial
// device map in MAPFILE (one "device path<TAB>COM<n>" line a port, in enumeration order).
// Prints "title: <window title>", then every box as it appears ("box: <caption>: <text>" or
// "error: <caption>: <text>", each answered with OK at once), then "log:" and the log's text
// with red runs wrapped in <red>...</red>.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include "application.h"
#include "devicemap.h"
#include "main.h"
#include "recordedboxes.h"
#include "transcript.h"

namespace {

QList<TRegistryValue> ReadMap(QFile& file) {
    QList<TRegistryValue> values;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(u'\n')) line.chop(1);
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.isEmpty()) continue;
        const qsizetype tab = line.indexOf(u'\t');
        values.append({line.left(tab), tab < 0 ? QString() : line.mid(tab + 1)});
    }
    return values;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: orvinto-scenario MAPFILE\n";
        return 2;
    }
    QFile mapFile(QString::fromLocal8Bit(argv[1]));
    if (!mapFile.open(QIODevice::ReadOnly)) {
        err << "orvinto-scenario: cannot read " << mapFile.fileName() << '\n';
        return 2;
    }
    const TStaticDeviceMap registry(ReadMap(mapFile));

    TRecordedBoxes boxes(&out);
    // Runs as the program itself: its file name gives the boxes' caption, its file the version.
    TApplication application(QDir(QCoreApplication::applicationDirPath()).filePath("orvinto"),
                             boxes);
    const auto form = CreateMainForm(application, registry);
    form->show();
    out << "title: " << form->windowTitle() << '\n' << Qt::flush;
    form->btnStart->click();
    out << "log:\n" << Transcript(*form->reStatusLog->document()) << Qt::flush;
    return 0;
}
