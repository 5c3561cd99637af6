#include "devicemap.h"

#include <QSerialPortInfo>
#include <array>

QString TDeviceMap::DeviceOf(int comNumber) const {
    return DeviceIn(Values(), comNumber);
}

QString TDeviceMap::DeviceIn(const QList<TRegistryValue>& values, int comNumber) {
    const QString port = QStringLiteral("COM%1").arg(comNumber);
    for (const TRegistryValue& value : values)
        if (value.Data.compare(port, Qt::CaseInsensitive) == 0) return value.Name;
    return {};
}

QList<TRegistryValue> TSystemDeviceMap::Values() const {
    QList<TRegistryValue> values;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        values.append(
            {info.systemLocation(), QStringLiteral("COM%1").arg(ComNumberOf(info.portName()))});
    FLastValues = values;
    return values;
}

QString TSystemDeviceMap::DeviceOf(int comNumber) const {
    return DeviceIn(FLastValues ? *FLastValues : Values(), comNumber);
}

namespace {

struct Family {
    const char* prefix;
    int firstCom;
};

// Each family owns a block of 100 numbers: unit n of the family is firstCom + n.
constexpr std::array kFamilies{
    Family{"ttyS", 1},      // on-board UARTs: ttyS0 is COM1, as it has always been
    Family{"ttyUSB", 101},  // USB serial adapters
    Family{"ttyACM", 201},  // USB modems and CDC devices
    Family{"rfcomm", 301},  // Bluetooth serial links
    Family{"ttyAMA", 401},  // ARM on-board UARTs
};
constexpr int kFamilySize = 100;
constexpr int kFirstOtherCom = 1000;
constexpr int kLastCom = 65535;

}  // namespace

int ComNumberOf(const QString& deviceName) {
    qsizetype digits = deviceName.size();
    while (digits > 0 && deviceName[digits - 1].isDigit()) --digits;
    bool isUnit = false;
    const int unit = deviceName.mid(digits).toInt(&isUnit);
    for (const Family& f : kFamilies)
        if (isUnit && unit < kFamilySize && deviceName.left(digits) == QLatin1String(f.prefix))
            return f.firstCom + unit;
    // Any other device: a number from its name (FNV-1a), stable across runs and machines.
    quint32 hash = 2166136261u;
    for (const char c : deviceName.toUtf8()) hash = (hash ^ quint8(c)) * 16777619u;
    return kFirstOtherCom + int(hash % quint32(kLastCom - kFirstOtherCom + 1));
}
