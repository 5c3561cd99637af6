// orvinto-bench [PORTS]: runs one whole search of the real main window, headless, with the real
// tick, on PORTS virtual ports (8 unless given): silent devices, and a simulated scan tool
// answering at 9600 baud on the last. Prints what the search cost this process, one
// "key: value" line each: the ports and probes, each probe's own cost beyond its three waits
// (median and maximum), the CPU used during the search in % of one core, the peak resident
// memory, and the time from the process's start until its window was shown.

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <vector>

#include "application.h"
#include "devicemap.h"
#include "main.h"
#include "probeclock.h"
#include "procstats.h"
#include "recordedboxes.h"
#include "scantool.h"
#include "transcript.h"
#include "virtualport.h"

namespace {

constexpr int kDefaultPorts = 8;
constexpr int kMaxPorts = 256;  // two descriptors each, well within the usual limit of 1024
constexpr int kToolRate = 9600;
constexpr std::chrono::seconds kExposeTimeout{10};

// The ports COM1..COM<n>, each with its device; filled only once the window is up, so that the
// start-up measured is the program's own.
class TBenchPorts : public TDeviceMap {
public:
    QList<TRegistryValue> Values() const override { return FValues; }

    void Plug(int count) {
        for (int com = 1; com <= count; ++com) {
            auto& port = FPorts.emplace_back(std::make_unique<TVirtualPort>());
            const QList<int> rates = com == count ? QList<int>{kToolRate} : QList<int>{};
            FDevices.push_back(std::make_unique<TScanTool>(*port, rates));
            FValues.append({port->Path(), QStringLiteral("COM%1").arg(com)});
        }
    }

private:
    std::vector<std::unique_ptr<TVirtualPort>> FPorts;
    std::vector<std::unique_ptr<TScanTool>> FDevices;
    QList<TRegistryValue> FValues;
};

std::optional<int> PortCount(const QStringList& arguments) {
    if (arguments.size() == 1) return kDefaultPorts;
    bool ok = false;
    const int count = arguments.size() == 2 ? arguments[1].toInt(&ok) : 0;
    if (!ok || count < 1 || count > kMaxPorts) return std::nullopt;
    return count;
}

// Returns once the platform has exposed the window and what that set going has run.
bool WaitUntilExposed(const QWidget& form) {
    const QWindow* window = form.windowHandle();
    if (!window) return false;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    giveUp.start(kExposeTimeout);
    while (!window->isExposed() && giveUp.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    return window->isExposed();
}

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString Decimal(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

// The search ran as set up: the tool found on the last port only, and no box shown.
bool SearchAsExpected(const TfrmMain& form, const TRecordedBoxes& boxes, int ports) {
    const QString log = Transcript(*form.reStatusLog->document());
    const QString found = QStringLiteral("  Looking on COM%1...<red>found scan tool!").arg(ports);
    return boxes.Lines.isEmpty() && log.count(QStringLiteral("found scan tool!")) == 1 &&
           log.contains(found);
}

struct TFigures {
    QList<double> overheadsMs;
    double cpuPercent = 0;
    double peakRssMiB = 0;
    double startupMs = 0;
};

void Report(QTextStream& out, int ports, const TFigures& figures) {
    const QList<double>& overheads = figures.overheadsMs;
    out << "ports: " << ports << '\n'
        << "probes: " << overheads.size() << '\n'
        << "overhead_ms_median: " << Decimal(Median(overheads), 3) << '\n'
        << "overhead_ms_max: " << Decimal(*std::max_element(overheads.begin(), overheads.end()), 3)
        << '\n'
        << "cpu_percent: " << Decimal(figures.cpuPercent, 2) << '\n'
        << "peak_rss_mb: " << Decimal(figures.peakRssMiB, 1) << '\n'
        << "startup_ms: " << Decimal(figures.startupMs, 1) << '\n';
}

// Starts the window as the program does, then searches PORTS ports with it. Nothing when the
// search did not run as set up; what it logged then goes to err.
std::optional<TFigures> Measure(int ports, QTextStream& err) {
    TBenchPorts map;
    TRecordedBoxes boxes;
    TApplication application(QDir(QCoreApplication::applicationDirPath()).filePath("orvinto"),
                             boxes);
    const auto form = CreateMainForm(application, map);
    form->show();
    if (!WaitUntilExposed(*form)) {
        err << "orvinto-bench: the window was never exposed\n";
        return std::nullopt;
    }
    const auto startup = ProcessAge();

    map.Plug(ports);
    const TProbeClock probes(*form->reStatusLog->document(), *form->ApdComPort, form->TickWait());
    const auto cpuBefore = ProcessCpuTime();
    const auto wallBefore = std::chrono::steady_clock::now();
    form->btnStart->click();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
    const auto cpu = ProcessCpuTime() - cpuBefore;

    const auto overheads = probes.OverheadsMs();
    const auto peakRss = PeakRssMiB();
    if (!SearchAsExpected(*form, boxes, ports) || !overheads || overheads->size() != 2 * ports ||
        !startup || !peakRss) {
        err << "orvinto-bench: the search did not run as set up; its log:\n"
            << Transcript(*form->reStatusLog->document()) << boxes.Lines.join(u'\n') << '\n';
        return std::nullopt;
    }
    return TFigures{*overheads, 100 * cpu / wall, *peakRss, startup->count()};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<int> ports = PortCount(app.arguments());
    if (!ports) {
        err << "usage: orvinto-bench [PORTS]   (1 to " << kMaxPorts << ", default " << kDefaultPorts
            << ")\n";
        return 2;
    }
    const std::optional<TFigures> figures = Measure(*ports, err);
    if (!figures) return 1;
    Report(out, *ports, *figures);
    return 0;
}
