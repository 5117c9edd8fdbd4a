// The file actions on the letter document: "Save Configuration" and "Load Configuration" on
// config.dat, copies to and from other files, the work an earlier run left in autosave.dat
// offered back once at start-up, and the question before closing or loading over unsaved
// work. Everything goes through the document; the controls follow through the form.
#pragma once

#include "persistence/LetterConfiguration.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageService.h"

#include <QObject>
#include <QString>
#include <filesystem>

class QWidget;

namespace scribvane {

class Autosave;
class ConfigurationForm;
class DialogService;
class LetterDocument;
class MessageService;

class LetterSession : public QObject {
    Q_OBJECT

public:
    LetterSession(LetterDocument& document, ConfigurationForm& form, Autosave& autosave,
                  QString programFolder, MessageService& messages, DialogService& dialogs,
                  QWidget* dialogParent);

    // Once every editing area is ready: the document takes what the window shows, which
    // counts as nothing unsaved; an autosave.dat left behind is offered back (see
    // OfferRecovery); then autosaving starts. True when earlier work was restored.
    bool Start();

    // Writes config.dat (keeping the file it replaces as config.bak) from the document.
    void SaveConfiguration();
    // Reads config.dat; nothing happens when there is none. A file that does not read ends
    // with its message and changes nothing. Over unsaved work, asks first. True when loaded.
    bool LoadConfiguration();
    // "Save a Copy As..." and "Load From File...": a file dialog, then the same format. A copy
    // leaves config.dat alone, and a letter loaded from another file is unsaved work in
    // config.dat's terms. True when the user chose a file and it was written or loaded.
    bool SaveCopyAs();
    bool LoadFromFile();
    void SaveCopy(const std::filesystem::path& path) const;
    bool LoadFrom(const std::filesystem::path& path);

    // Asked once, by Start: when autosave.dat exists, offers it back.
    // OK loads it (a file that does not read ends with its message and stays); Cancel moves
    // it to autosave.bak. True when it was restored.
    bool OfferRecovery();

    // Before the window closes: true when it may. Asks (save, close without saving, stay)
    // when there is unsaved work; a failed save throws its error and the window stays.
    bool ConfirmClose();
    // The updater takes over: pending work is written and autosave.dat stays, so it is
    // offered back after the update.
    void HandOver();

Q_SIGNALS:
    // The document holds a configuration read from a file.
    void loaded();

private:
    enum class Baseline { Loaded, Kept };
    // Asks before unsaved work is replaced; false when the user stays.
    bool MayReplaceWork();
    // Carries out the answer to "save the work first?": whether to go on.
    bool Carry(CloseAnswer answer);
    bool LoadAsked(const std::filesystem::path& path, Baseline baseline);
    void Show(const LetterConfiguration& config, Baseline baseline);

    LetterDocument& document_;
    ConfigurationForm& form_;
    Autosave& autosave_;
    QString programFolder_;
    MessageService& messages_;
    DialogService& dialogs_;
    QWidget* dialogParent_;
    FileDialog copyDialog_;
    FileDialog loadDialog_;
    bool recoveryOffered_ = false;
};

} // namespace scribvane
