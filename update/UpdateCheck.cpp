// The update check; see UpdateCheck.h.
#include "update/UpdateCheck.h"

#include "update/UpdateVersion.h"
#include "update/UpdaterCommand.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/ProgramConstants.h"
#include "widgets/Logging.h"
#include "widgets/QtText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
                         ProcessStarter startProcess, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)),
      updateFolderAddress_(std::move(updateFolderAddress)), startProcess_(std::move(startProcess)) {
    qRegisterMetaType<UpdateOutcome>();
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

void UpdateCheck::Start() {
    if (running_) {
        return;
    }
    running_ = true;
    try {
        DownloadFile(updateFolderAddress_ + QString::fromLatin1(kUpdateDescriptionName),
                     LocalCopyPath(), [this](bool stored) {
                         const UpdateOutcome outcome = OutcomeOfDownload(stored);
                         running_ = false;
                         Q_EMIT checked(outcome);
                     });
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
        if (reply->error() != QNetworkReply::NoError) {
            failure_ = reply->errorString();
        } else if (status < 200 || status >= 300) {
            failure_ = QStringLiteral("the server answered with status %1").arg(status);
        } else {
            failure_ = file->errorString();
        }
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

UpdateOutcome UpdateCheck::OutcomeOfDownload(bool stored) const {
    const QString localCopy = LocalCopyPath();
    if (!stored || !QFileInfo::exists(localCopy)) {
        return {UpdateOutcome::Kind::Failed,
                {},
                failure_.isEmpty() ? QStringLiteral("the update description was not found")
                                   : failure_};
    }
    std::string versionText = ReadUpdateVersionText(NativePath(localCopy));
    if (!IsNewerVersion(VersionNumber, ReadRemoteVersionNumber(versionText))) {
        return {UpdateOutcome::Kind::NothingNew, {}, {}};
    }
    const bool updaterThere = QFileInfo(UpdaterPath()).isFile();
    return {updaterThere ? UpdateOutcome::Kind::NewerVersion : UpdateOutcome::Kind::UpdaterMissing,
            std::move(versionText),
            {}};
}

void UpdateCheck::StartUpdater() {
    QStringList arguments;
    for (const std::string& argument :
         UpdaterArguments(updateFolderAddress_.toStdString(), VersionNumber, UpdaterMode)) {
        arguments.append(QString::fromStdString(argument));
    }
    startProcess_(UpdaterPath(), arguments);
}

} // namespace scribvane
