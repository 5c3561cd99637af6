// orvinto-demo: the real main window on two virtual ports, with no hardware: a simulated scan
// tool answering at 9600 baud on COM3 and a silent device on COM1. Press Start to watch a search.

#include <QApplication>
#include <QDir>

#include "application.h"
#include "devicemap.h"
#include "dialogs.h"
#include "main.h"
#include "scantool.h"
#include "virtualport.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TVirtualPort silentPort, toolPort;
    TScanTool silent(silentPort);
    TScanTool tool(toolPort, {9600});
    const TStaticDeviceMap registry({{silentPort.Path(), "COM1"}, {toolPort.Path(), "COM3"}});

    TMessageBoxes dialogs;
    TApplication application(QDir(QCoreApplication::applicationDirPath()).filePath("orvinto"),
                             dialogs);
    const auto form = CreateMainForm(application, registry);
    form->show();
    return app.exec();
}
