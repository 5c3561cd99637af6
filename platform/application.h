#pragma once
// The application object: its title, its boxes, the default report of a failure that leaves an
// event handler, and the request to end that a closed main window makes.

#include <QObject>
#include <QString>
#include <exception>

#include "dialogs.h"

// "/usr/bin/orvinto.bin" gives "orvinto": the directory removed, the name cut at its first ".",
// every character after the first lower-cased.
QString TitleFromExeName(const QString& exeName);

// The default error box's text: the message with "." appended when it is not empty and its last
// character sorts after ".".
QString ErrorBoxText(const QString& message);

class TApplication : public QObject {
    Q_OBJECT
public:
    TApplication(const QString& exeName, TDialogs& dialogs);

    const QString& ExeName() const { return FExeName; }
    const QString& Title() const { return FTitle; }

    // Once the application is ending, boxes close at once and are not shown.
    void ShowMessage(const QString& text);
    void ShowException(const std::exception& e);
    void ShowError(const QString& caption, const QString& text);

    // Runs an event handler; a failure that leaves it is reported in the default error box and
    // goes no further, so no exception ever crosses Qt's event loop.
    template <class Handler>
    void Dispatch(Handler&& handler) noexcept {
        try {
            handler();
        } catch (const std::exception& e) {
            ShowException(e);
        }
    }

    // Asks the application to end: pending and later waits end at once, boxes are skipped, and
    // the event loop quits when control returns to it.
    void Terminate();
    bool Terminated() const { return FTerminated; }

signals:
    void Terminating();

private:
    QString FExeName;
    QString FTitle;
    TDialogs& FDialogs;
    bool FTerminated = false;
};
