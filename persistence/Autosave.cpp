// Writing autosave.dat; see Autosave.h.
#include "persistence/Autosave.h"

#include "persistence/LetterDocument.h"
#include "widgets/ControlText.h"
#include "widgets/Logging.h"

#include <QElapsedTimer>
#include <QTimer>
#include <exception>
#include <system_error>
#include <utility>

namespace scribvane {

namespace {

constexpr int kRetryMs = 5000;

QString Shown(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

Autosave::Autosave(const LetterDocument& document, QString programFolder, QObject* parent)
    : QObject(parent), document_(document), programFolder_(std::move(programFolder)) {
    connect(&document_, &LetterDocument::settled, this, &Autosave::WriteNow);
}

std::filesystem::path Autosave::AutosavePath(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("autosave.dat"));
}

std::filesystem::path Autosave::SetAsidePath(const QString& programFolder) {
    return NativePath(programFolder + QStringLiteral("autosave.bak"));
}

void Autosave::WriteNow() {
    if (!started_ || !enabled_) {
        return;
    }
    if (!document_.IsModified()) {
        Remove();
        return;
    }
    QElapsedTimer took;
    took.start();
    const std::filesystem::path path = AutosavePath(programFolder_);
    try {
        if (keepUnreadable_) {
            SetAside();
            keepUnreadable_ = false;
        }
        WriteConfigurationFile(path, document_.Configuration());
        qCDebug(lcPersistence) << "wrote" << Shown(path) << "in" << took.elapsed() << "ms";
    } catch (const std::exception& failure) {
        qCWarning(lcPersistence) << "autosave failed, trying again in" << kRetryMs
                                 << "ms:" << QString::fromLocal8Bit(failure.what());
        if (!retryPending_) {
            retryPending_ = true;
            QTimer::singleShot(kRetryMs, this, [this] {
                retryPending_ = false;
                WriteNow();
            });
        }
        return;
    }
    Q_EMIT written();
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
