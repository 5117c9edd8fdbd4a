// The window side of the update check: the quiet check at start-up and the reporting check
// of "Check Updates". It runs the check, says what it found, asks the two questions before an
// update, starts the updater and asks the window to close.
#pragma once

#include "update/UpdateCheck.h"

#include <QObject>
#include <QString>

namespace scribvane {

class MessageService;

class UpdateController : public QObject {
    Q_OBJECT

public:
    UpdateController(QString programFolder, QString updateFolderAddress, MessageService& messages,
                     UpdateCheck::ProcessStarter startProcess = &UpdateCheck::StartDetached,
                     QObject* parent = nullptr);

    // Silent is the quiet form: nothing is said unless a newer version is found. A call while
    // a check or its questions are running is ignored. Throws FileError when the local copy
    // of the description cannot be created.
    void CheckForUpdates(bool Silent);

    bool IsRunning() const { return running_; }
    QString LocalCopyPath() const { return check_.LocalCopyPath(); }
    QString UpdaterPath() const { return check_.UpdaterPath(); }

Q_SIGNALS:
    // The user agreed to update and the updater was started: the window should close.
    void closeRequested();
    // A check ended, its questions answered (emitted before closeRequested).
    void finished();

private:
    void Respond(const UpdateOutcome& outcome);
    void Finish();

    MessageService& messages_;
    UpdateCheck check_;
    bool running_ = false;
    bool silent_ = false;
};

} // namespace scribvane
