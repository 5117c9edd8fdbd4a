// The update check: fetches the update description from the update folder, compares its
// version with ours and reports what it found. It asks nothing and shows nothing; the window
// decides what to say (UpdateController).
//
// The check is asynchronous: Start begins the download and returns, so the window keeps
// handling input while the server is slow; the outcome arrives as a signal. This avoids a
// nested event loop, in which closing the window mid-check would pull the object out from
// under its own waiting call.
#pragma once

#include <QMetaType>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QNetworkReply;

namespace scribvane {

struct UpdateOutcome {
    enum class Kind {
        NothingNew,     // the description is there and names no newer version
        Failed,         // no description could be fetched
        NewerVersion,   // a newer version, and the updater is in the program folder
        UpdaterMissing, // a newer version, but there is no updater to install it
    };
    Kind kind = Kind::Failed;
    std::string versionText; // the description's Version text, for a newer version
    QString reason;          // why it failed, for a failed check
};

class UpdateCheck : public QObject {
    Q_OBJECT

public:
    // Starts a program with its arguments, each passed on its own; the outcome is ignored.
    using ProcessStarter =
        std::function<void(const QString& program, const QStringList& arguments)>;

    // programFolder holds the local copy of the update description and the updater;
    // updateFolderAddress is the server folder (ending in a slash) that holds the description.
    UpdateCheck(QString programFolder, QString updateFolderAddress,
                ProcessStarter startProcess = &UpdateCheck::StartDetached,
                QObject* parent = nullptr);
    ~UpdateCheck() override;

    // Begins a check; `checked` follows. A call while a check is running is ignored. Throws
    // FileError "Cannot create file "%s". %s" when the local copy cannot be created; nothing
    // is running afterwards.
    void Start();

    // Starts the updater with the arguments it expects.
    void StartUpdater();

    // Replaces the file at path with the body of a GET of address. whenDone gets true once
    // the whole body is stored; on any failure (no connection, HTTP error status, broken
    // transfer, write error) the file is deleted and it gets false. Throws FileError when the
    // file cannot be created; whenDone is then never called.
    void DownloadFile(const QString& address, const QString& path,
                      std::function<void(bool)> whenDone);

    bool IsRunning() const { return running_; }
    QString LocalCopyPath() const;
    QString UpdaterPath() const;

    // The starter the program uses: a detached process, no shell, no working folder given.
    static void StartDetached(const QString& program, const QStringList& arguments);

Q_SIGNALS:
    // A check ended; it is no longer running when this arrives.
    void checked(const scribvane::UpdateOutcome& outcome);

private:
    void DownloadFinished(QNetworkReply* reply, const std::function<void(bool)>& whenDone);
    UpdateOutcome OutcomeOfDownload(bool stored) const;

    QString programFolder_;
    QString updateFolderAddress_;
    QString failure_; // why the last download failed
    ProcessStarter startProcess_;
    QNetworkAccessManager network_;
    bool running_ = false;
};

} // namespace scribvane

Q_DECLARE_METATYPE(scribvane::UpdateOutcome)
