// The window side of the update check; see UpdateCheck.h.
#include "update/UpdateCheck.h"

#include "app/MessageService.h"
#include "update/UpdateVersion.h"
#include "update/UpdaterCommand.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/ProgramConstants.h"
#include "utils/QtText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QProcess>
#include <QUrl>
#include <filesystem>
#include <memory>

namespace scribvane {
namespace {

Q_LOGGING_CATEGORY(lcUpdate, "scribvane.update")

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

// Creates (or empties) the file and opens it for writing; the reason the system gives goes
// into the message, as for every other file the program cannot create.
QFile* CreateEmptyFile(const QString& path) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw FileError("Cannot create file \"" +
                        TextFromPath(NativePath(QFileInfo(path).absoluteFilePath())) + "\". " +
                        AnsiOf(file->errorString()));
    }
    return file.release();
}

} // namespace

UpdateCheck::UpdateCheck(QString programFolder, QString updateFolderAddress,
                         MessageService& messages, ProcessStarter startProcess, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)),
      updateFolderAddress_(std::move(updateFolderAddress)), messages_(messages),
      startProcess_(std::move(startProcess)) {
    network_.setProxy(QNetworkProxy::NoProxy);
    network_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

UpdateCheck::~UpdateCheck() {
    // A download cut short by the window closing must not leave a partial copy behind.
    const auto replies = network_.findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : replies) {
        if (reply->isFinished()) {
            continue;
        }
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        if (auto* file = reply->findChild<QFile*>()) {
            file->remove();
        }
    }
}

QString UpdateCheck::LocalCopyPath() const {
    return QDir(programFolder_).filePath(QString::fromLatin1(kUpdateDescriptionName));
}

QString UpdateCheck::UpdaterPath() const {
    return QDir(programFolder_).filePath(QString::fromStdString(UpdaterFileName()));
}

void UpdateCheck::StartDetached(const QString& program, const QStringList& arguments) {
    QProcess::startDetached(program, arguments);
}

void UpdateCheck::CheckForUpdates(bool Silent) {
    if (running_) {
        return;
    }
    running_ = true;
    silent_ = Silent;
    try {
        DownloadFile(updateFolderAddress_ + QString::fromLatin1(kUpdateDescriptionName),
                     LocalCopyPath(), [this](bool stored) { AfterDownload(stored); });
    } catch (...) {
        running_ = false;
        throw;
    }
}

void UpdateCheck::DownloadFile(const QString& address, const QString& path,
                               std::function<void(bool)> whenDone) {
    if (QFileInfo::exists(path)) {
        QFile::remove(path);
    }
    QFile* file = CreateEmptyFile(path);

    QNetworkRequest request{QUrl(address)};
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QByteArrayLiteral("Mozilla/3.0 (compatible; Indy Library)"));
    request.setRawHeader(QByteArrayLiteral("Accept"), QByteArrayLiteral("text/html, */*"));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("text/html"));
    // No read time-out: a slow server is waited for until it answers or hangs up.
    request.setTransferTimeout(0);

    QNetworkReply* reply = network_.get(request);
    file->setParent(reply);
    connect(reply, &QNetworkReply::readyRead, this, [reply, file] {
        const QByteArray chunk = reply->readAll();
        if (file->write(chunk) != chunk.size()) {
            qCWarning(lcUpdate) << "cannot write" << file->fileName() << file->errorString();
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, whenDone = std::move(whenDone)] { DownloadFinished(reply, whenDone); });
}

void UpdateCheck::DownloadFinished(QNetworkReply* reply,
                                   const std::function<void(bool)>& whenDone) {
    auto* file = reply->findChild<QFile*>();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A redirect that was not followed or a status without a body we asked for is no more a
    // description than an error page is.
    bool stored = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
    if (stored) {
        const QByteArray rest = reply->readAll();
        stored = file->write(rest) == rest.size() && file->flush();
    }
    file->close();
    stored = stored && file->error() == QFileDevice::NoError;
    if (!stored) {
        qCInfo(lcUpdate) << "download of" << reply->url().toDisplayString() << "failed:" << status
                         << reply->errorString();
        file->remove();
    }
    reply->deleteLater();
    // Go on from a fresh call, not from inside the reply's own signal: what follows shows
    // message boxes and may end with the window closing.
    QMetaObject::invokeMethod(
        this, [whenDone, stored] { whenDone(stored); }, Qt::QueuedConnection);
}

void UpdateCheck::AfterDownload(bool stored) {
    const QString localCopy = LocalCopyPath();
    if (!stored || !QFileInfo::exists(localCopy)) {
        NothingNew();
        return;
    }
    const std::string versionText = ReadUpdateVersionText(NativePath(localCopy));
    if (!IsNewerVersion(VersionNumber, ReadRemoteVersionNumber(versionText))) {
        NothingNew();
        return;
    }

    // The message boxes run their own event loops; the window may go away meanwhile.
    const QPointer<UpdateCheck> alive(this);
    const bool download = messages_.Question(NewerVersionText(versionText));
    if (!alive) {
        return;
    }
    if (!download) {
        Finish();
        return;
    }
    if (!QFileInfo(UpdaterPath()).isFile()) {
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

    QStringList arguments;
    for (const std::string& argument :
         UpdaterArguments(updateFolderAddress_.toStdString(), VersionNumber, UpdaterMode)) {
        arguments.append(QString::fromStdString(argument));
    }
    startProcess_(UpdaterPath(), arguments);
    if (!alive) {
        return;
    }
    Finish();
    if (alive) {
        Q_EMIT closeRequested();
    }
}

void UpdateCheck::NothingNew() {
    const QPointer<UpdateCheck> alive(this);
    if (!silent_) {
        messages_.Information(kNothingNewText);
    }
    if (alive) {
        Finish();
    }
}

void UpdateCheck::Finish() {
    running_ = false;
    Q_EMIT finished();
}

} // namespace scribvane
