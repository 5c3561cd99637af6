#include "quencomports.h"

#include <algorithm>

#include "apdcomport.h"
#include "application.h"
#include "devicemap.h"

int ComparePortNumbers(const QString& first, const QString& second) {
    const int a = StrToInt(first);
    const int b = StrToInt(second);
    return a < b ? -1 : a > b ? 1 : 0;
}

TQuenComPort::TQuenComPort(TApdComPort& port, const TDeviceMap& registry, TApplication& application)
    : Port(port), FRegistry(registry), FApplication(application) {}

void TQuenComPort::BaudChanged() {
    if (OnBaudChanged) OnBaudChanged(this);
}

void TQuenComPort::PortNumberChanged() {
    if (OnPortNumberChanged) OnPortNumberChanged(this);
}

QStringList TQuenComPort::GetPortList() const {
    QStringList result;
    for (const TRegistryValue& value : FRegistry.Values())
        result.append(value.Data.mid(3));  // the prefix goes by position: "COM" is not checked
    std::sort(result.begin(), result.end(),
              [](const QString& a, const QString& b) { return ComparePortNumbers(a, b) < 0; });
    return result;
}

void TQuenComPort::SetBaud(qint32 value) {
    Port.SetBaud(value);
    BaudChanged();
}

void TQuenComPort::SetPortNumber(qint32 value) {
    Port.SetComNumber(quint16(value));
    PortNumberChanged();
}

bool TQuenComPort::OpenPort() {
    if (Port.ComNumber() == 0) {
        FApplication.ShowMessage(QStringLiteral("COM port is not selected."));
        return false;
    }
    try {
        Port.SetOpen(true);
    } catch (const EBadId&) {
        FApplication.ShowMessage(
            QStringLiteral("Unable to open. Specified COM port does not exist"));
        return false;
    }
    return true;
}

void TQuenComPort::ClosePort() {
    try {
        Port.SetOpen(false);
    } catch (const EBadId&) {
        FApplication.ShowMessage(
            QStringLiteral("Unable to close. Specified COM port does not exist"));
    }
}

void TQuenComPort::SendText(const QString& text) {
    try {
        Port.PutString(text.toLatin1());
    } catch (const ECommNotOpen&) {
        FApplication.ShowMessage(QStringLiteral("COM Port Closed"));
    }
}
