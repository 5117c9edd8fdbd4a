// Autosave, recovery and the question before closing; see Autosave.h.
#include "persistence/Autosave.h"

#include "persistence/ConfigurationForm.h"
#include "widgets/ControlText.h"
#include "widgets/Logging.h"
#include "widgets/MessageService.h"
#include "widgets/QtText.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <utility>

namespace scribvane {

namespace {

const QString kRecoveryQuestion =
    QStringLiteral("Scribvane was last closed with changes that were not saved.\n"
                   "Do you want to restore them?");
const QString kCloseQuestion =
    QStringLiteral("Your letter has changes that are not saved yet.\n"
                   "Do you want to save them to the configuration before closing?");

// A failed write is tried again after this long; the user is never interrupted.
constexpr int kRetryMs = 5000;

QString Shown(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// Counts a save, load or write in progress: the areas wait for the engine in local event
// loops, where the timer may fire while the window is half loaded.
class BusyScope {
public:
    explicit BusyScope(int& busy) : busy_(busy) { ++busy_; }
    ~BusyScope() { --busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& busy_;
};

} // namespace

Autosave::Autosave(ConfigurationForm& form, QString programFolder, QObject* parent)
    : QObject(parent), form_(form), programFolder_(std::move(programFolder)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &Autosave::WriteNow);
    form_.NotifyChanges(*this, [this] { NoteChange(); });
}

std::filesystem::path Autosave::AutosavePath(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("autosave.dat"));
}

std::filesystem::path Autosave::SetAsidePath(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("autosave.bak"));
}

void Autosave::Start() {
    if (!baseline_) {
        baseline_ = form_.Read();
    }
}

void Autosave::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled_) {
        timer_.stop();
    }
}

void Autosave::NoteChange() {
    if (!baseline_ || !enabled_) {
        return;
    }
    // Each change restarts the quiet time, but a user who never pauses still gets a write
    // within the longest wait of the first unwritten change.
    if (!timer_.isActive()) {
        pendingSince_.start();
    }
    const qint64 left = kLongestWaitMs - pendingSince_.elapsed();
    timer_.start(static_cast<int>(std::clamp<qint64>(left, 0, kQuietMs)));
}

void Autosave::WriteNow() {
    if (!baseline_ || !enabled_) {
        return;
    }
    if (busy_ > 0) {
        timer_.start(kQuietMs);
        return;
    }
    const BusyScope busy(busy_);
    timer_.stop();
    QElapsedTimer took;
    took.start();
    const std::filesystem::path path = AutosavePath(programFolder_);
    try {
        const LetterConfiguration now = form_.Read();
        if (now == *baseline_) {
            Remove();
            return;
        }
        if (keepUnreadable_) {
            SetAside();
            keepUnreadable_ = false;
        }
        WriteConfigurationFile(path, now);
        qCDebug(lcPersistence) << "wrote" << Shown(path) << "in" << took.elapsed() << "ms";
    } catch (const std::exception& failure) {
        qCWarning(lcPersistence) << "autosave failed, trying again in" << kRetryMs
                                 << "ms:" << QString::fromLocal8Bit(failure.what());
        timer_.start(kRetryMs);
        return;
    }
    Q_EMIT written();
}

void Autosave::SaveConfiguration() {
    const BusyScope busy(busy_);
    baseline_ = form_.Save(programFolder_);
    timer_.stop();
    Remove();
}

void Autosave::LoadConfiguration() {
    const BusyScope busy(busy_);
    if (!form_.Load(programFolder_)) {
        return;
    }
    // What the window shows now is config.dat; a font that is not installed, for example,
    // shows as it was, and that is no change of the user's.
    baseline_ = form_.Read();
    timer_.stop();
    Remove();
}

bool Autosave::HasUnsavedWork() const {
    return baseline_ && form_.Read() != *baseline_;
}

bool Autosave::OfferRecovery(MessageService& messages) {
    const std::filesystem::path path = AutosavePath(programFolder_);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return false;
    }
    if (!messages.Question(kRecoveryQuestion)) {
        SetAside();
        return false;
    }
    // Until it has read, the file is not ours to replace: a failed load leaves it in place.
    keepUnreadable_ = true;
    {
        const BusyScope busy(busy_);
        form_.LoadFrom(path);
    }
    keepUnreadable_ = false;
    // The restored work is still unsaved: the next write keeps it in autosave.dat.
    NoteChange();
    return true;
}

bool Autosave::ConfirmClose(MessageService& messages) {
    if (!HasUnsavedWork()) {
        timer_.stop();
        Remove();
        return true;
    }
    switch (messages.AskSaveBeforeClosing(kCloseQuestion)) {
    case CloseAnswer::Save:
        SaveConfiguration();
        return true;
    case CloseAnswer::Discard:
        // Kept aside, newest state included, so a wrong answer loses nothing. An autosave.dat
        // that did not read stays where it is.
        if (!keepUnreadable_) {
            WriteNow();
            SetAside();
        }
        timer_.stop();
        return true;
    case CloseAnswer::Stay:
        break;
    }
    return false;
}

void Autosave::HandOver() {
    WriteNow();
    timer_.stop();
}

void Autosave::Remove() {
    if (keepUnreadable_) {
        return;
    }
    const std::filesystem::path path = AutosavePath(programFolder_);
    std::error_code error;
    if (!std::filesystem::remove(path, error) && error) {
        qCWarning(lcPersistence) << "cannot remove" << Shown(path)
                                 << QString::fromStdString(error.message());
    }
}

void Autosave::SetAside() {
    const std::filesystem::path path = AutosavePath(programFolder_);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return;
    }
    std::filesystem::rename(path, SetAsidePath(programFolder_), error);
    if (error) {
        qCWarning(lcPersistence) << "cannot move" << Shown(path)
                                 << "aside:" << QString::fromStdString(error.message());
    }
}

} // namespace scribvane
