// The window side of the update check; see UpdateController.h.
#include "update/UpdateController.h"

#include "widgets/MessageService.h"
#include "widgets/QtText.h"

#include <QPointer>
#include <utility>

namespace scribvane {
namespace {

const QString kNothingNewText = QStringLiteral("There are no new updates for this application!");
const QString kUpdaterMissingText =
    QStringLiteral("The updater module is missing. Please reinstall again the current version!");
// The break is LF then CR, in that order, as the message has always been worded.
const QString kBeforeClosingText =
    QStringLiteral("To update your software the application will close to\n\r"
                   "replace some files. Do you want to update now?");

QString NewerVersionText(const std::string& versionText) {
    return QStringLiteral("There is a new update: (version ") + QStringOfAnsi(versionText) +
           QStringLiteral(") available for your application!. Do you want download this "
                          "update now?");
}

} // namespace

UpdateController::UpdateController(QString programFolder, QString updateFolderAddress,
                                   MessageService& messages,
                                   UpdateCheck::ProcessStarter startProcess, QObject* parent)
    : QObject(parent), messages_(messages),
      check_(std::move(programFolder), std::move(updateFolderAddress), std::move(startProcess)) {
    // Answered from a fresh call, not from inside the network reply's own signal: what follows
    // shows message boxes and may end with the window closing.
    connect(&check_, &UpdateCheck::checked, this, &UpdateController::Respond, Qt::QueuedConnection);
}

void UpdateController::CheckForUpdates(bool Silent) {
    if (running_) {
        return;
    }
    check_.Start();
    running_ = true;
    silent_ = Silent;
}

void UpdateController::Respond(const UpdateOutcome& outcome) {
    // The message boxes run their own event loops; the window may go away meanwhile.
    const QPointer<UpdateController> alive(this);
    if (outcome.kind == UpdateOutcome::Kind::NothingNew ||
        outcome.kind == UpdateOutcome::Kind::Failed) {
        // A check that could not ask the server has found nothing, new or not: saying there
        // is nothing new would be a failure reported as success.
        if (!silent_ && outcome.kind == UpdateOutcome::Kind::Failed) {
            messages_.Warning(QStringLiteral("Could not check for updates: ") + outcome.reason);
        } else if (!silent_) {
            messages_.Information(kNothingNewText);
        }
        if (alive) {
            Finish();
        }
        return;
    }

    const bool download = messages_.Question(NewerVersionText(outcome.versionText));
    if (!alive) {
        return;
    }
    if (!download) {
        Finish();
        return;
    }
    if (outcome.kind == UpdateOutcome::Kind::UpdaterMissing) {
        messages_.Warning(kUpdaterMissingText);
        if (alive) {
            Finish();
        }
        return;
    }
    const bool update = messages_.Question(kBeforeClosingText);
    if (!alive) {
        return;
    }
    if (!update) {
        Finish();
        return;
    }
    check_.StartUpdater();
    if (!alive) {
        return;
    }
    Finish();
    if (alive) {
        Q_EMIT closeRequested();
    }
}

void UpdateController::Finish() {
    running_ = false;
    Q_EMIT finished();
}

} // namespace scribvane
