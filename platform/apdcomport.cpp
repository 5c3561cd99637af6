#include "apdcomport.h"

#include <unistd.h>

#include "application.h"
#include "devicemap.h"

namespace {
// Reads are taken in chunks of at most 4096 bytes, so a flooding device cannot make memory grow.
constexpr qint64 kInSize = 4096;
}  // namespace

TApdComPort::TApdComPort(TApplication& application, const TDeviceMap& registry, QObject* parent)
    : QObject(parent), FApplication(application), FRegistry(registry) {
    FSerial.setReadBufferSize(kInSize);
    connect(&FSerial, &QSerialPort::readyRead, this, [this] {
        FApplication.Dispatch([this] {
            const QByteArray data = FSerial.readAll();
            if (!data.isEmpty()) emit DataReceived(data);
        });
    });
    connect(&FSerial, &QSerialPort::errorOccurred, this, &TApdComPort::SerialError);
}

TApdComPort::~TApdComPort() {
    CloseDevice();
}

void TApdComPort::SetOpen(bool value) {
    if (value == FOpen) return;
    if (value) {
        OpenDevice();
        FOpen = true;
        emit Opened();
    } else {
        emit Closing();
        ReportFailure();  // a failure of this connection is reported with it, never with the next
        CloseDevice();
        FOpen = false;
    }
}

void TApdComPort::PutString(const QByteArray& text) {
    if (!FOpen && AutoOpen) SetOpen(true);
    if (!FOpen) throw ECommNotOpen(QStringLiteral("ie_NotOpen - port not open"));
    // After a device failure, already reported, the port stays open but sends nothing.
    if (FSerial.isOpen()) FSerial.write(text);
}

void TApdComPort::OpenDevice() {
    const QString device = FRegistry.DeviceOf(FComNumber);
    if (device.isEmpty())
        throw EBadId(QStringLiteral("ie_BadId - COM%1 does not exist").arg(FComNumber));

    FSerial.setPortName(device);
    FSerial.setBaudRate(FBaud);
    FSerial.setDataBits(QSerialPort::Data8);
    FSerial.setParity(QSerialPort::NoParity);
    FSerial.setStopBits(QSerialPort::OneStop);
    FSerial.setFlowControl(QSerialPort::NoFlowControl);
    if (!FSerial.open(QIODevice::ReadWrite)) RaiseOpenError(device);

    // Devices without modem lines, such as pseudo-terminals, cannot raise DTR and RTS.
    FSerial.setDataTerminalReady(true);
    FSerial.setRequestToSend(true);
    FSerial.clearError();
    // What arrived before the open belongs to nobody: the driver may have kept it.
    FSerial.clear(QSerialPort::Input);
}

void TApdComPort::RaiseOpenError(const QString& device) {
    const QSerialPort::SerialPortError error = FSerial.error();
    const QString cause = FSerial.errorString();
    FSerial.clearError();
    if (error == QSerialPort::DeviceNotFoundError)
        throw EBadId(QStringLiteral("ie_BadId - %1 does not exist").arg(device));
    if (error == QSerialPort::PermissionError) {
        // A lock held by another program and a device we may not use look the same to
        // QSerialPort; the device's own permissions tell them apart.
        if (::access(device.toLocal8Bit().constData(), R_OK | W_OK) == 0)
            throw EAlreadyOpen(QStringLiteral("ie_Open - device already open"));
        throw EInOutError(QStringLiteral("Cannot open %1: permission denied. Join the dialout "
                                         "group (sudo usermod -aG dialout $USER), then log in "
                                         "again.")
                              .arg(device));
    }
    throw EInOutError(QStringLiteral("Cannot open %1: %2").arg(device, cause));
}

void TApdComPort::CloseDevice() {
    if (!FSerial.isOpen()) return;
    FSerial.clear(QSerialPort::AllDirections);
    FSerial.close();
    FSerial.clearError();
}

void TApdComPort::SerialError(QSerialPort::SerialPortError error) {
    const bool failed = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                        error == QSerialPort::WriteError;
    if (!failed || !FSerial.isOpen() || FFailure) return;
    FFailure = error == QSerialPort::WriteError || FSerial.bytesToWrite() > 0 ? TFailure::Write
                                                                              : TFailure::Read;
    // Reported once QSerialPort has finished reporting the error, or at the close if that is
    // sooner.
    QMetaObject::invokeMethod(this, &TApdComPort::ReportFailure, Qt::QueuedConnection);
}

void TApdComPort::ReportFailure() {
    if (!FFailure) return;
    // Closed before the box is shown, so the failing device cannot raise another one meanwhile;
    // what closing it raises belongs to the same failure.
    CloseDevice();
    const TFailure failure = *FFailure;
    FFailure.reset();
    FApplication.ShowError(QStringLiteral("Application Error"),
                           failure == TFailure::Write ? QStringLiteral("Device write error")
                                                      : QStringLiteral("Device read error"));
}
