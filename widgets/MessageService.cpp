// The real message boxes behind msgMain, titled with the caption of the window they belong to.
#include "widgets/MessageService.h"

#include <QMessageBox>
#include <QWidget>

namespace scribvane {

namespace {

QMessageBox::StandardButton Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons) {
    const QString title = parent != nullptr ? parent->window()->windowTitle() : QString();
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                              : QMessageBox::Ok);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void DialogMessageService::Warning(const QString& text) {
    Show(parent_, QMessageBox::Warning, text, QMessageBox::Ok);
}

void DialogMessageService::Information(const QString& text) {
    Show(parent_, QMessageBox::Information, text, QMessageBox::Ok);
}

bool DialogMessageService::Question(const QString& text) {
    return Show(parent_, QMessageBox::Information, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

void DialogMessageService::Error(const QString& text) {
    Show(parent_, QMessageBox::Critical, text, QMessageBox::Ok);
}

} // namespace scribvane
