// The desktop's secret store; see SecretStore.h.
#include "publishing/SecretStore.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace scribvane {
namespace {

const QString kService = QStringLiteral("Scribvane publishing");

QString Key(const QString& target) {
    return QStringLiteral("publish/") + target;
}

// Runs a job to its end, answering nothing else meanwhile but the window's own events.
void RunJob(QKeychain::Job& job) {
    job.setAutoDelete(false);
    job.setInsecureFallback(false); // never a plain file in place of the store
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
}

} // namespace

SecretStore::Reading KeychainSecretStore::Read(const QString& target) {
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(Key(target));
    RunJob(job);
    Reading reading;
    if (job.error() == QKeychain::NoError) {
        reading.secret = job.textData();
    } else if (job.error() != QKeychain::EntryNotFound) {
        reading.unavailable = job.errorString();
    }
    return reading;
}

QString KeychainSecretStore::Write(const QString& target, const QString& secret) {
    QKeychain::WritePasswordJob job(kService);
    job.setKey(Key(target));
    job.setTextData(secret);
    RunJob(job);
    return job.error() == QKeychain::NoError ? QString() : job.errorString();
}

QString KeychainSecretStore::Remove(const QString& target) {
    QKeychain::DeletePasswordJob job(kService);
    job.setKey(Key(target));
    RunJob(job);
    return job.error() == QKeychain::NoError || job.error() == QKeychain::EntryNotFound
               ? QString()
               : job.errorString();
}

} // namespace scribvane
