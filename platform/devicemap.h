#pragma once
// The serial device map: which serial devices the machine has, each as a registry-style value
// whose name is the device path and whose data is its port name "COM<n>". The port list reads it
// in enumeration order; the serial port component opens COM<n> through it.

#include <QList>
#include <QString>
#include <optional>

struct TRegistryValue {
    QString Name;  // device path, such as /dev/ttyUSB0
    QString Data;  // port name, such as COM101
};

class TDeviceMap {
public:
    virtual ~TDeviceMap() = default;
    virtual QList<TRegistryValue> Values() const = 0;
    // The device path of port COM<comNumber>, or an empty string when the map holds no such port.
    virtual QString DeviceOf(int comNumber) const;

protected:
    static QString DeviceIn(const QList<TRegistryValue>& values, int comNumber);
};

// A fixed map, for tests and tools.
class TStaticDeviceMap : public TDeviceMap {
public:
    explicit TStaticDeviceMap(QList<TRegistryValue> values = {}) : FValues(std::move(values)) {}
    QList<TRegistryValue> Values() const override { return FValues; }

private:
    QList<TRegistryValue> FValues;
};

// The machine's serial ports as the serial port library finds them, numbered by ComNumberOf.
// Finding them takes milliseconds, so a port is opened by the last list of them made: a device
// gone since then simply fails to open.
class TSystemDeviceMap : public TDeviceMap {
public:
    QList<TRegistryValue> Values() const override;
    QString DeviceOf(int comNumber) const override;

private:
    mutable std::optional<QList<TRegistryValue>> FLastValues;
};

// A stable COM number for a device name such as "ttyUSB0": the same device always gets the same
// number, whatever else is plugged in. See the README for the table.
int ComNumberOf(const QString& deviceName);
