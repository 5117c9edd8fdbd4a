// The real message boxes behind msgMain, titled with the caption of the window they belong to.
#include "widgets/MessageService.h"

#include <QMessageBox>
#include <QPushButton>
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

void DialogMessageService::WarningWithDetails(const QString& text, const QString& details) {
    if (details.isEmpty()) {
        Warning(text);
        return;
    }
    const QString title = parent_ != nullptr ? parent_->window()->windowTitle() : QString();
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent_);
    box.setDetailedText(details); // behind the box's own "Show Details..." button
    box.exec();
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

CloseAnswer DialogMessageService::AskSaveBeforeClosing(const QString& text) {
    return AskSaveFirst(text, QStringLiteral("Save and Close"),
                        QStringLiteral("Close Without Saving"), QStringLiteral("Stay"));
}

CloseAnswer DialogMessageService::AskSaveBeforeLoading(const QString& text) {
    return AskSaveFirst(text, QStringLiteral("Save and Load"),
                        QStringLiteral("Load Without Saving"), QStringLiteral("Cancel"));
}

CloseAnswer DialogMessageService::AskApplyEdit(const QString& text) {
    return AskSaveFirst(text, QStringLiteral("Apply"), QStringLiteral("Discard"),
                        QStringLiteral("Stay"));
}

CloseAnswer DialogMessageService::AskSaveFirst(const QString& text, const QString& save,
                                               const QString& discard, const QString& stay) {
    const QString title = parent_ != nullptr ? parent_->window()->windowTitle() : QString();
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent_);
    QPushButton* saveButton = box.addButton(save, QMessageBox::AcceptRole);
    QPushButton* discardButton = box.addButton(discard, QMessageBox::DestructiveRole);
    QPushButton* stayButton = box.addButton(stay, QMessageBox::RejectRole);
    box.setDefaultButton(saveButton);
    box.setEscapeButton(stayButton);
    box.exec();
    if (box.clickedButton() == saveButton) {
        return CloseAnswer::Save;
    }
    return box.clickedButton() == discardButton ? CloseAnswer::Discard : CloseAnswer::Stay;
}

} // namespace scribvane
