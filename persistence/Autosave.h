// Keeps the user's work between saves: while the window's configuration differs from the one
// last saved to or loaded from config.dat (or from the values of start-up), it is written to
// autosave.dat shortly after each change. At start-up an autosave.dat left behind is offered
// back; closing over unsaved work asks first.
#pragma once

#include "persistence/LetterConfiguration.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <optional>

namespace scribvane {

class ConfigurationForm;
class MessageService;

class Autosave : public QObject {
    Q_OBJECT

public:
    // Quiet time after a change before the write, and the longest a change waits while the
    // user keeps typing.
    static constexpr int kQuietMs = 700;
    static constexpr int kLongestWaitMs = 1500;

    Autosave(ConfigurationForm& form, QString programFolder, QObject* parent = nullptr);

    static std::filesystem::path AutosavePath(const QString& programFolder);
    static std::filesystem::path SetAsidePath(const QString& programFolder);

    // Starts watching once the editing areas are ready: what the window shows now counts as
    // nothing unsaved (config.dat is not read at start-up).
    void Start();
    bool IsStarted() const { return baseline_.has_value(); }
    // Tests that pin other behaviour switch the writing off.
    void SetEnabled(bool enabled);

    // "Save Configuration" and "Load Configuration": afterwards the window equals config.dat.
    void SaveConfiguration();
    void LoadConfiguration();

    // True when the window's configuration differs from the last saved or loaded one.
    bool HasUnsavedWork() const;

    // Asked after the window has been shown: when autosave.dat exists, offers it back. OK
    // loads it as "Load Configuration" loads config.dat (a file that does not read ends with
    // its message and stays); Cancel moves it to autosave.bak. True when it was restored.
    bool OfferRecovery(MessageService& messages);

    // Before the window closes: true when it may. Asks (save, close without saving, stay)
    // when there is unsaved work; a failed save throws its error and the window stays.
    bool ConfirmClose(MessageService& messages);
    // The updater takes over: pending work is written and autosave.dat stays, so it is
    // offered back after the update.
    void HandOver();

    // Writes autosave.dat now if there is unsaved work, or removes it if there is none.
    void WriteNow();

Q_SIGNALS:
    // autosave.dat now holds the window's configuration.
    void written();

private:
    void NoteChange();
    void Remove();
    void SetAside();

    ConfigurationForm& form_;
    QString programFolder_;
    QTimer timer_;
    QElapsedTimer pendingSince_;
    std::optional<LetterConfiguration> baseline_;
    bool enabled_ = true;
    int busy_ = 0; // a save, load or write is running: the window is between states
    // autosave.dat did not read at start-up: it stays for the user to look at until new
    // work needs the place, and then goes to autosave.bak.
    bool keepUnreadable_ = false;
};

} // namespace scribvane
