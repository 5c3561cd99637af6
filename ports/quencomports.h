#pragma once
// The port controller: the list of the machine's serial ports, and the operations that select,
// open, close and write to the serial port component, reporting a missing or closed port to the
// user instead of failing.

#include <QStringList>
#include <functional>

class TApdComPort;
class TApplication;
class TDeviceMap;

// Orders two port-number texts by their numeric value: -1, 0 or 1. Raises EConvertError for a
// text that is not an integer.
int ComparePortNumbers(const QString& first, const QString& second);

class TQuenComPort {
public:
    using TNotifyEvent = std::function<void(TQuenComPort* Sender)>;

    TQuenComPort(TApdComPort& port, const TDeviceMap& registry, TApplication& application);
    virtual ~TQuenComPort() = default;

    TApdComPort& Port;  // driven, not owned
    TNotifyEvent OnBaudChanged;
    TNotifyEvent OnPortNumberChanged;

    virtual void BaudChanged();
    virtual void PortNumberChanged();

    // The registered ports as port-number texts ("COM12" gives "12"), in ascending numeric order.
    QStringList GetPortList() const;

    void SetBaud(qint32 value);
    void SetPortNumber(qint32 value);  // the component keeps the low 16 bits
    bool OpenPort();
    void ClosePort();
    void SendText(const QString& text);

private:
    const TDeviceMap& FRegistry;
    TApplication& FApplication;
};
