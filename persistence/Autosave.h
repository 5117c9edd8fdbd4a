// Keeps the user's work between saves: whenever the letter document settles while it differs
// from the configuration last saved or loaded, autosave.dat is written with it; when it no
// longer differs, autosave.dat goes. This class writes and moves only autosave.dat; the
// session decides when it is offered back or set aside.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>

namespace scribvane {

class LetterDocument;

class Autosave : public QObject {
    Q_OBJECT

public:
    Autosave(const LetterDocument& document, QString programFolder, QObject* parent = nullptr);

    static std::filesystem::path AutosavePath(const QString& programFolder);
    static std::filesystem::path SetAsidePath(const QString& programFolder);

    // Starts writing once the window shows the letter it starts with.
    void Start() { started_ = true; }
    bool IsStarted() const { return started_; }
    // Tests that pin other behaviour switch the writing off.
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // Writes autosave.dat now if the letter is modified, or removes it if it is not. A failed
    // write is tried again a little later; the user is never interrupted.
    void WriteNow();
    // Removes autosave.dat, or moves it to autosave.bak, so a wrong answer loses nothing.
    void Remove();
    void SetAside();

    // autosave.dat did not read when it was offered back: it stays for the user to look at
    // until new work needs the place, and then goes to autosave.bak.
    void KeepUnreadable(bool keep) { keepUnreadable_ = keep; }
    bool KeepsUnreadable() const { return keepUnreadable_; }

Q_SIGNALS:
    // autosave.dat now holds the document's configuration.
    void written();

private:
    const LetterDocument& document_;
    QString programFolder_;
    bool started_ = false;
    bool enabled_ = true;
    bool keepUnreadable_ = false;
    bool retryPending_ = false;
};

} // namespace scribvane
