// The file actions on the letter document; see LetterSession.h.
#include "persistence/LetterSession.h"

#include "persistence/Autosave.h"
#include "persistence/ConfigurationForm.h"
#include "persistence/LetterDocument.h"
#include "widgets/ControlText.h"
#include "widgets/Logging.h"
#include "widgets/MessageService.h"

#include <system_error>
#include <utility>

namespace scribvane {

namespace {

const QString kConfigurationFilter =
    QStringLiteral("Configuration files (*.dat)|*.dat|All files (*)|*");
const QString kRecoveryQuestion =
    QStringLiteral("Scribvane was last closed with changes that were not saved.\n"
                   "Do you want to restore them?");
const QString kCloseQuestion =
    QStringLiteral("Your letter has changes that are not saved yet.\n"
                   "Do you want to save them to the configuration before closing?");
const QString kLoadQuestion =
    QStringLiteral("Your letter has changes that are not saved yet.\n"
                   "Do you want to save them to the configuration before loading?");

} // namespace

LetterSession::LetterSession(LetterDocument& document, ConfigurationForm& form, Autosave& autosave,
                             QString programFolder, MessageService& messages,
                             DialogService& dialogs, QWidget* dialogParent)
    : document_(document), form_(form), autosave_(autosave),
      programFolder_(std::move(programFolder)), messages_(messages), dialogs_(dialogs),
      dialogParent_(dialogParent),
      copyDialog_(FileDialog::Mode::SaveAs, QStringLiteral("Save a Copy As"), kConfigurationFilter),
      loadDialog_(FileDialog::Mode::OpenExisting, QStringLiteral("Load From File"),
                  kConfigurationFilter) {}

bool LetterSession::Start() {
    if (autosave_.IsStarted() || recoveryOffered_) {
        return false;
    }
    form_.ReadAllIntoDocument();
    document_.MarkSaved();
    // Nothing is written or removed while the question waits for its answer: autosave.dat is
    // the work it asks about.
    bool restored = false;
    try {
        restored = OfferRecovery();
    } catch (...) {
        autosave_.Start();
        throw;
    }
    autosave_.Start();
    return restored;
}

void LetterSession::SaveConfiguration() {
    WriteConfigurationFile(ConfigurationForm::ConfigurationPath(programFolder_),
                           document_.Configuration(),
                           ConfigurationForm::BackupPath(programFolder_));
    document_.MarkSaved();
    autosave_.Remove();
}

bool LetterSession::LoadConfiguration() {
    const std::filesystem::path path = ConfigurationForm::ConfigurationPath(programFolder_);
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        qCInfo(lcPersistence) << "nothing to load: no" << QString::fromStdString(path.string());
        return false;
    }
    return LoadAsked(path, Baseline::Loaded);
}

bool LetterSession::SaveCopyAs() {
    if (!copyDialog_.Execute(dialogParent_, dialogs_)) {
        return false;
    }
    SaveCopy(NativePath(copyDialog_.FileName()));
    return true;
}

bool LetterSession::LoadFromFile() {
    if (!loadDialog_.Execute(dialogParent_, dialogs_)) {
        return false;
    }
    return LoadFrom(NativePath(loadDialog_.FileName()));
}

void LetterSession::SaveCopy(const std::filesystem::path& path) const {
    WriteConfigurationFile(path, document_.Configuration());
}

bool LetterSession::LoadFrom(const std::filesystem::path& path) {
    return LoadAsked(path, Baseline::Kept);
}

bool LetterSession::LoadAsked(const std::filesystem::path& path, Baseline baseline) {
    // Read before asking: a file that does not read changes nothing and asks nothing. Read
    // again after the question: saving first may have written this very file.
    ReadConfigurationFile(path);
    if (!MayReplaceWork()) {
        return false;
    }
    Show(ReadConfigurationFile(path), baseline);
    return true;
}

bool LetterSession::MayReplaceWork() {
    if (!document_.IsModified()) {
        return true;
    }
    return Carry(messages_.AskSaveBeforeLoading(kLoadQuestion));
}

bool LetterSession::Carry(CloseAnswer answer) {
    switch (answer) {
    case CloseAnswer::Save:
        SaveConfiguration();
        return true;
    case CloseAnswer::Discard:
        // Kept aside, newest state included, so a wrong answer loses nothing. An autosave.dat
        // that did not read stays where it is.
        if (!autosave_.KeepsUnreadable()) {
            autosave_.WriteNow();
            autosave_.SetAside();
        }
        return true;
    case CloseAnswer::Stay:
        break;
    }
    return false;
}

void LetterSession::Show(const LetterConfiguration& config, Baseline baseline) {
    form_.Apply(config);
    if (baseline == Baseline::Loaded) {
        document_.Load(config);
    } else {
        document_.Replace(config);
    }
    Q_EMIT loaded();
}

bool LetterSession::OfferRecovery() {
    if (recoveryOffered_) {
        return false;
    }
    recoveryOffered_ = true;
    const std::filesystem::path path = Autosave::AutosavePath(programFolder_);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return false;
    }
    if (!messages_.Question(kRecoveryQuestion)) {
        autosave_.SetAside();
        return false;
    }
    // Until it has read, the file is not ours to replace: a failed load leaves it in place.
    autosave_.KeepUnreadable(true);
    const LetterConfiguration config = ReadConfigurationFile(path);
    autosave_.KeepUnreadable(false);
    // The restored work is still unsaved: the next write keeps it in autosave.dat.
    Show(config, Baseline::Kept);
    return true;
}

bool LetterSession::ConfirmClose() {
    if (!document_.IsModified()) {
        autosave_.Remove();
        return true;
    }
    return Carry(messages_.AskSaveBeforeClosing(kCloseQuestion));
}

void LetterSession::HandOver() {
    autosave_.WriteNow();
}

} // namespace scribvane
