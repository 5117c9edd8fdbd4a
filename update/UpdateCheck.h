// The update check the main window owns: fetches the update description from the update
// folder, compares its version with ours and, when it is newer and the user agrees twice,
// starts the external updater and asks the window to close.
//
// The check is asynchronous: CheckForUpdates starts the download and returns, so the window
// keeps handling input while the server is slow; the rest runs when the answer arrives. This
// avoids a nested event loop, in which closing the window mid-check would pull the object out
// from under its own waiting call.
#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QNetworkReply;

namespace scribvane {

class MessageService;

class UpdateCheck : public QObject {
    Q_OBJECT

public:
    // Starts a program with its arguments, each passed on its own; the outcome is ignored.
    using ProcessStarter =
        std::function<void(const QString& program, const QStringList& arguments)>;

    // programFolder holds the local copy of the update description and the updater;
    // updateFolderAddress is the server folder (ending in a slash) that holds the description.
    UpdateCheck(QString programFolder, QString updateFolderAddress, MessageService& messages,
                ProcessStarter startProcess = &UpdateCheck::StartDetached,
                QObject* parent = nullptr);
    ~UpdateCheck() override;

    // Silent is the quiet form: nothing is said unless a newer version is found. A call while
    // a check is running is ignored. Throws FileError "Cannot create file "%s". %s" when the
    // local copy cannot be created; nothing is running afterwards.
    void CheckForUpdates(bool Silent);

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
    // The user agreed to update and the updater was started: the window should close.
    void closeRequested();
    // A check ended (emitted before closeRequested).
    void finished();

private:
    void DownloadFinished(QNetworkReply* reply, const std::function<void(bool)>& whenDone);
    void AfterDownload(bool stored);
    void NothingNew();
    void Finish();

    QString programFolder_;
    QString updateFolderAddress_;
    MessageService& messages_;
    ProcessStarter startProcess_;
    QNetworkAccessManager network_;
    bool running_ = false;
    bool silent_ = false;
};

} // namespace scribvane
