// Orvinto: finds the serial port, and the baud rate, at which a vehicle scan tool answers.

#include <QApplication>

#include "application.h"
#include "devicemap.h"
#include "dialogs.h"
#include "main.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TMessageBoxes dialogs;
    TApplication application(QCoreApplication::applicationFilePath(), dialogs);
    TSystemDeviceMap registry;
    const auto form = CreateMainForm(application, registry);
    form->show();
    return app.exec();
}
