#pragma once
// The main window: the status log in which a search reports, and the Start button that runs one.

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <chrono>
#include <memory>

#include "apdcomport.h"
#include "apddatapacket.h"
#include "richedit.h"
#include "tickwait.h"

class TApplication;
class TDeviceMap;
class TQuenComPort;

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    TfrmMain(TApplication& application, const TDeviceMap& registry,
             std::chrono::milliseconds tick = TTickWait::kTick);
    ~TfrmMain() override;

    QLabel* Label1;
    TRichEdit* reStatusLog;
    QPushButton* btnStart;
    TApdComPort* ApdComPort;
    TApdDataPacket* ApdDataPacket1;

    void FormCreate(QObject* Sender);
    void btnStartClick(QObject* Sender);
    void ApdDataPacket1Packet(QObject* Sender, const void* Data, int Size);

    // How long the form has waited, which tells a run's waiting from its work.
    const TTickWait& TickWait() const { return Ticks; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TApplication& Application;
    const TDeviceMap& Registry;
    TTickWait Ticks;

    void ProbePort(TQuenComPort& QuenComPort, const QString& p);
    QString ReadFileVersion(const QString& FileName);
};

extern TfrmMain* frmMain;
extern bool ToolFound;

// Creates the main form the way the application does: frmMain already refers to the new form
// when its FormCreate runs.
std::unique_ptr<TfrmMain> CreateMainForm(TApplication& application, const TDeviceMap& registry,
                                         std::chrono::milliseconds tick = TTickWait::kTick);
