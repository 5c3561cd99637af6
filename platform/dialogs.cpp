#include "dialogs.h"

#include <QMessageBox>

namespace {

// Parentless and application-modal: centred on the screen, the other windows blocked while it
// is up, and events (serial input included) keep being delivered by its own loop.
void ShowBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace

void TMessageBoxes::Message(const QString& caption, const QString& text) {
    ShowBox(QMessageBox::NoIcon, caption, text);
}

void TMessageBoxes::Error(const QString& caption, const QString& text) {
    ShowBox(QMessageBox::Critical, caption, text);
}
