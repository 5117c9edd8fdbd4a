// The main window's side of the update check: the quiet check on the first tick of Timer1
// and the reporting check of "Check Updates". The check itself lives in UpdateCheck.
#include "app/TfrmMain.h"
#include "update/UpdateCheck.h"

#include <QPushButton>
#include <QTimer>

namespace scribvane {

void TfrmMain::WireUpdateCheck() {
    updateCheck_ = std::make_unique<UpdateCheck>(ProgramFolder(), updateFolderAddress_, msgMain());
    // The user agreed and the updater runs: it needs the program's files released.
    connect(updateCheck_.get(), &UpdateCheck::closeRequested, this, &QWidget::close);
    connect(Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);
    connect(btnUpdate, &QPushButton::clicked, this, &TfrmMain::btnUpdateClick);
}

void TfrmMain::Timer1Timer() {
    // One tick per start: the quiet check runs once.
    Timer1->stop();
    CheckForUpdates(true);
}

void TfrmMain::btnUpdateClick() {
    CheckForUpdates(false);
}

void TfrmMain::CheckForUpdates(bool Silent) {
    updateCheck_->CheckForUpdates(Silent);
}

} // namespace scribvane
