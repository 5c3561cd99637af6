#pragma once
// The serial port component: one serial port, opened by COM number through the device map.
// Line settings 8N1, no flow control, DTR and RTS raised while open. Received data is delivered
// on the GUI thread's event loop; writes return at once.

#include <QObject>
#include <QSerialPort>
#include <optional>

#include "sysutils.h"

class TApplication;
class TDeviceMap;

class EBadId : public Exception {  // the port does not exist
    using Exception::Exception;
};
class EAlreadyOpen : public Exception {  // another program holds the port
    using Exception::Exception;
};
class ECommNotOpen : public Exception {  // output to a port that is not open
    using Exception::Exception;
};
class EInOutError : public Exception {  // any other failure to open
    using Exception::Exception;
};

class TApdComPort : public QObject {
    Q_OBJECT
public:
    TApdComPort(TApplication& application, const TDeviceMap& registry, QObject* parent = nullptr);
    ~TApdComPort() override;

    // Recorded while closed, applied at the next open.
    quint16 ComNumber() const { return FComNumber; }
    void SetComNumber(quint16 value) { FComNumber = value; }
    qint32 Baud() const { return FBaud; }
    void SetBaud(qint32 value) { FBaud = value; }
    // Output to a closed port opens it first when set; otherwise it raises ECommNotOpen.
    bool AutoOpen = false;

    bool Open() const { return FOpen; }
    // True opens the port, false closes it. Opening raises EBadId for a port that does not
    // exist, EAlreadyOpen for one held by another program, EInOutError for any other failure.
    // Closing discards unsent output and unread input, and is silent on a port that is not open.
    void SetOpen(bool value);

    // Queues the bytes for sending and returns at once.
    void PutString(const QByteArray& text);

signals:
    void Opened();
    void DataReceived(QByteArrayView data);
    void Closing();

private:
    TApplication& FApplication;
    const TDeviceMap& FRegistry;
    QSerialPort FSerial;
    quint16 FComNumber = 0;
    qint32 FBaud = 19200;
    bool FOpen = false;
    // A read or write failure of the open device, not yet reported to the user.
    enum class TFailure { Read, Write };
    std::optional<TFailure> FFailure;

    void OpenDevice();
    void CloseDevice();
    [[noreturn]] void RaiseOpenError(const QString& device);
    void SerialError(QSerialPort::SerialPortError error);
    void ReportFailure();
};
