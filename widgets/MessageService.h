// The message box service every message of the program goes through (the window's msgMain).
// Tests install a recording service that answers questions as the test tells it.
#pragma once

#include <QString>

class QWidget;

namespace scribvane {

// The answers to the question asked before closing over unsaved work.
enum class CloseAnswer {
    Save,    // save, then close
    Discard, // close without saving
    Stay,    // do not close
};

class MessageService {
public:
    virtual ~MessageService() = default;

    // Refused input, missing files: a warning box with one OK button.
    virtual void Warning(const QString& text) = 0;
    // The same, with the technical words behind it (a server's or a library's) under
    // "Details", shown only when asked for, so the message itself stays in the user's words.
    virtual void WarningWithDetails(const QString& text, const QString& details) = 0;
    // Plain notices: an information box with one OK button.
    virtual void Information(const QString& text) = 0;
    // Questions: an information box with OK (default) and Cancel; true when OK was chosen.
    virtual bool Question(const QString& text) = 0;
    // Failures no handler caught: an error box with one OK button.
    virtual void Error(const QString& text) = 0;
    // Before closing over unsaved work: a question box with three buttons, Save (default),
    // close without saving, and Stay (also Escape and the title bar's close).
    virtual CloseAnswer AskSaveBeforeClosing(const QString& text) = 0;
    // Before loading over unsaved work: the same three answers, the buttons named for the
    // load (save first, load without saving, cancel).
    virtual CloseAnswer AskSaveBeforeLoading(const QString& text) {
        return AskSaveBeforeClosing(text);
    }
    // Before leaving a record whose inputs were changed without Update (or filled without
    // Create): Save stands for applying them, Discard for dropping them, Stay for going back.
    virtual CloseAnswer AskApplyEdit(const QString& text) { return AskSaveBeforeClosing(text); }
};

// Shows real message boxes, titled with the caption of the parent's window.
class DialogMessageService : public MessageService {
public:
    explicit DialogMessageService(QWidget* parent) : parent_(parent) {}

    void Warning(const QString& text) override;
    void WarningWithDetails(const QString& text, const QString& details) override;
    void Information(const QString& text) override;
    bool Question(const QString& text) override;
    void Error(const QString& text) override;
    CloseAnswer AskSaveBeforeClosing(const QString& text) override;
    CloseAnswer AskSaveBeforeLoading(const QString& text) override;
    CloseAnswer AskApplyEdit(const QString& text) override;

private:
    CloseAnswer AskSaveFirst(const QString& text, const QString& save, const QString& discard,
                             const QString& stay);

    QWidget* parent_;
};

} // namespace scribvane
