#include "main.h"

#include <QCloseEvent>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <exception>

#include "anchors.h"
#include "application.h"
#include "devicemap.h"
#include "fileversion.h"
#include "porttooltips.h"
#include "quencomports.h"

TfrmMain* frmMain = nullptr;
bool ToolFound = false;

namespace {
const QSize kClientSize(319, 421);
}  // namespace

TfrmMain::TfrmMain(TApplication& application, const TDeviceMap& registry,
                   std::chrono::milliseconds tick)
    : Label1(new QLabel(this)),
      reStatusLog(new TRichEdit(this)),
      btnStart(new QPushButton(QStringLiteral("Start"), this)),
      ApdComPort(new TApdComPort(application, registry, this)),
      ApdDataPacket1(new TApdDataPacket(this)),
      Application(application),
      Registry(registry),
      Ticks(application, tick) {
    QFont font = this->font();
    font.setPointSize(8);
    setFont(font);
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, kClientSize,
                                    screen()->availableGeometry()));

    auto* anchors = new TAnchorLayout(this, kClientSize);
    using enum TAnchor;
    anchors->Place(Label1, {0, 400, 321, 13}, Left | Right | Bottom);
    anchors->Place(reStatusLog, {8, 8, 303, 345}, Left | Top | Right | Bottom);
    anchors->Place(btnStart, {127, 358, 75, 25}, Bottom);

    Label1->setAlignment(Qt::AlignCenter);
    Label1->setText(QStringLiteral("Rest the pointer on a COM port to see its device."));
    reStatusLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reStatusLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    new TPortToolTips(reStatusLog, registry);
    setTabOrder(reStatusLog, btnStart);
    connect(btnStart, &QPushButton::clicked, this,
            [this] { Application.Dispatch([this] { btnStartClick(btnStart); }); });

    ApdComPort->AutoOpen = false;
    ApdDataPacket1->SetComPort(ApdComPort);
    ApdDataPacket1->Enabled = true;
    ApdDataPacket1->StartString = "MARLOVENTICS";
    ApdDataPacket1->PacketSize = 0;
    ApdDataPacket1->TimeOut = 1;
    ApdDataPacket1->OnPacket = [this](QObject* Sender, const void* Data, int Size) {
        ApdDataPacket1Packet(Sender, Data, Size);
    };
}

TfrmMain::~TfrmMain() {
    if (frmMain == this) frmMain = nullptr;
}

std::unique_ptr<TfrmMain> CreateMainForm(TApplication& application, const TDeviceMap& registry,
                                         std::chrono::milliseconds tick) {
    auto form = std::make_unique<TfrmMain>(application, registry, tick);
    frmMain = form.get();
    form->FormCreate(form.get());
    return form;
}

void TfrmMain::FormCreate(QObject* /*Sender*/) {
    frmMain->setWindowTitle(QStringLiteral("Orvinto ") + ReadFileVersion(Application.ExeName()));
}

// The program file's version; empty when the file carries none or cannot be read.
QString TfrmMain::ReadFileVersion(const QString& FileName) {
    return PackageNoteVersion(FileName);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // A run in progress finishes at once, and the program ends when it returns.
    Application.Terminate();
    event->accept();
}

void TfrmMain::btnStartClick(QObject* /*Sender*/) {
    // Further clicks are ignored until this run has ended, however it ends.
    btnStart->setEnabled(false);
    const auto enableStart = qScopeGuard([this] { btnStart->setEnabled(true); });

    TQuenComPort QuenComPort(*ApdComPort, Registry, Application);
    reStatusLog->Clear();
    ToolFound = false;
    reStatusLog->AddLine(QStringLiteral("= Retrieving list of available COM ports: ="));
    const QStringList PortList = QuenComPort.GetPortList();
    const qsizetype PortCount = PortList.size();
    if (PortCount <= 0) {
        reStatusLog->AddLine(QStringLiteral(" Error: couldn't find any COM ports"));
        return;
    }
    for (const QString& p : PortList) reStatusLog->AddLine(QStringLiteral("   COM") + p);

    reStatusLog->AddLine(QString());
    reStatusLog->AddLine(QStringLiteral("= Attempting to connect at 38400 baud ="));
    QuenComPort.SetBaud(38400);
    for (const QString& p : PortList) ProbePort(QuenComPort, p);

    reStatusLog->AddLine(QString());
    reStatusLog->AddLine(QString());
    reStatusLog->AddLine(QStringLiteral("= Attempting to connect at 9600 baud ="));
    QuenComPort.SetBaud(9600);
    for (const QString& p : PortList) ProbePort(QuenComPort, p);

    reStatusLog->SetSelText(QStringLiteral("\r\rEnd of search.\r"));
}

void TfrmMain::ProbePort(TQuenComPort& QuenComPort, const QString& p) {
    // A verdict speaks only of what this probe's own connection received.
    ToolFound = false;
    reStatusLog->SetSelText(QStringLiteral("  Looking on COM") + p);
    QuenComPort.SetPortNumber(StrToInt(p));
    QuenComPort.OpenPort();
    // A failure that ends the run mid-probe leaves no port open behind it.
    const auto closeOnFailure = qScopeGuard([&] {
        if (std::uncaught_exceptions() > 0) QuenComPort.ClosePort();
    });
    QuenComPort.SendText(QStringLiteral("\r"));
    reStatusLog->SetSelText(QStringLiteral("."));
    Ticks.DelayTicks(5);
    QuenComPort.SendText(QStringLiteral("AT@1\r"));
    reStatusLog->SetSelText(QStringLiteral("."));
    Ticks.DelayTicks(5);
    reStatusLog->SetSelText(QStringLiteral("."));
    Ticks.DelayTicks(10);
    if (ToolFound) {
        reStatusLog->SetSelColor(255);
        reStatusLog->SetSelText(QStringLiteral("found scan tool!\r"));
        ToolFound = false;
        reStatusLog->SetSelColor(0);
        reStatusLog->SetSelText(QStringLiteral(" "));
    } else {
        reStatusLog->SetSelText(QStringLiteral("nothing\r"));
    }
    QuenComPort.ClosePort();
}

void TfrmMain::ApdDataPacket1Packet(QObject* /*Sender*/, const void* /*Data*/, int /*Size*/) {
    ToolFound = true;
}
