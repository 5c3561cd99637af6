#include "application.h"

#include <QCoreApplication>
#include <QFileInfo>

QString TitleFromExeName(const QString& exeName) {
    const QString name = QFileInfo(exeName).fileName().section(u'.', 0, 0);
    return name.left(1) + name.mid(1).toLower();
}

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.') return message + u'.';
    return message;
}

TApplication::TApplication(const QString& exeName, TDialogs& dialogs)
    : FExeName(exeName), FTitle(TitleFromExeName(exeName)), FDialogs(dialogs) {}

void TApplication::ShowMessage(const QString& text) {
    if (!FTerminated) FDialogs.Message(FTitle, text);
}

void TApplication::ShowException(const std::exception& e) {
    ShowError(FTitle, ErrorBoxText(QString::fromUtf8(e.what())));
}

void TApplication::ShowError(const QString& caption, const QString& text) {
    if (!FTerminated) FDialogs.Error(caption, text);
}

void TApplication::Terminate() {
    FTerminated = true;
    emit Terminating();
    QCoreApplication::quit();
}
