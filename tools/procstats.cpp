#include "procstats.h"

#include <time.h>
#include <unistd.h>
#include <QFile>
#include <QStringList>

namespace {

std::chrono::duration<double> ClockTime(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

QByteArray ReadProcFile(const char* path) {
    QFile file(QString::fromLatin1(path));
    // Files in /proc report a size of 0: read them as a stream.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return {};
    return file.readAll();
}

}  // namespace

std::optional<std::chrono::duration<double, std::milli>> ProcessAge() {
    const QByteArray stat = ReadProcFile("/proc/self/stat");
    // The command name in parentheses may hold spaces; the fields after it do not. The start
    // time is field 22 of the line, the 20th after the name.
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0) return std::nullopt;
    const QList<QByteArray> fields = stat.mid(nameEnd + 2).split(' ');
    constexpr qsizetype kStartTime = 19;
    if (fields.size() <= kStartTime) return std::nullopt;
    bool ok = false;
    const qulonglong ticks = fields[kStartTime].toULongLong(&ok);
    if (!ok) return std::nullopt;
    const std::chrono::duration<double> started(double(ticks) / double(::sysconf(_SC_CLK_TCK)));
    return ClockTime(CLOCK_BOOTTIME) - started;
}

std::chrono::duration<double> ProcessCpuTime() {
    return ClockTime(CLOCK_PROCESS_CPUTIME_ID);
}

std::optional<double> PeakRssMiB() {
    for (const QByteArray& line : ReadProcFile("/proc/self/status").split('\n')) {
        if (!line.startsWith("VmHWM:")) continue;
        bool ok = false;
        const double kiB = line.mid(6).trimmed().split(' ').value(0).toDouble(&ok);
        if (ok) return kiB / 1024.0;
    }
    return std::nullopt;
}
