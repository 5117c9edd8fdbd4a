// The Publish action; see PublishController.h.
#include "publishing/PublishController.h"

#include "generation/LetterPreparation.h"
#include "publishing/PublishError.h"
#include "publishing/PublishPrompts.h"
#include "publishing/PublishTargets.h"
#include "publishing/Publisher.h"
#include "publishing/SecretStore.h"
#include "utils/Win1252.h"
#include "widgets/QtText.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <thread>

namespace scribvane {
namespace {

struct Outcome {
    std::optional<PublishResult> result;
    PublishFailure failure = PublishFailure::Other;
    QString message;
    QString serverMessage;
    QString fingerprint;
};

// Publishes on a worker thread. Only the window's thread touches widgets: progress reaches
// the prompts as queued calls, and Cancel is polled here and handed over as a flag.
Outcome Run(const PreparedLetter& letter, const PublishAddress& address, TransportSettings settings,
            PublishPrompts& prompts) {
    std::atomic<bool> cancel{false};
    settings.cancel = &cancel;
    Outcome outcome;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (prompts.CancelPressed()) {
            cancel = true;
        }
    });
    poll.start(100);
    prompts.Progress(QString(), 0, 0);
    std::thread worker([&] {
        try {
            outcome.result =
                PublishLetter(letter, address, settings, [&](const PublishProgress& progress) {
                    const QString file = QString::fromStdString(progress.file);
                    const int index = static_cast<int>(progress.index);
                    const int total = static_cast<int>(progress.total);
                    QMetaObject::invokeMethod(
                        &loop,
                        [&prompts, file, index, total] { prompts.Progress(file, index, total); },
                        Qt::QueuedConnection);
                });
        } catch (const PublishError& error) {
            outcome.failure = error.failure();
            outcome.message = QString::fromStdString(error.what());
            outcome.serverMessage = QString::fromStdString(error.serverMessage());
            outcome.fingerprint = QString::fromStdString(error.fingerprint());
        } catch (const std::exception& error) {
            outcome.message = QStringOfAnsi(error.what());
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    poll.stop();
    prompts.Done();
    return outcome;
}

} // namespace

PublishController::PublishController(LetterFunction letter, std::filesystem::path programFolder,
                                     PublishPrompts& prompts, SecretStore& secrets)
    : letter_(std::move(letter)), programFolder_(std::move(programFolder)), prompts_(prompts),
      secrets_(secrets) {}

void PublishController::Publish() {
    const auto file = programFolder_ / "publish.dat";
    try {
        auto targets = ReadPublishTargets(file);
        std::size_t index = targets.size();
        if (!targets.empty()) {
            QStringList names;
            for (const auto& target : targets) {
                names << QString::fromStdString(target.name);
            }
            const auto chosen = prompts_.ChooseTarget(names);
            if (!chosen) {
                return;
            }
            index = static_cast<std::size_t>(*chosen);
        }
        QString secret;
        if (index >= targets.size()) {
            PublishTarget fresh;
            if (!prompts_.EditTarget(fresh, secret)) {
                return;
            }
            std::erase_if(targets, [&](const PublishTarget& t) { return t.name == fresh.name; });
            targets.push_back(fresh);
            index = targets.size() - 1;
            WritePublishTargets(file, targets);
            if (!secret.isEmpty()) {
                (void)secrets_.Write(QString::fromStdString(fresh.name), secret);
            }
        }
        PublishTarget& target = targets[index];
        const QString name = QString::fromStdString(target.name);
        std::string problem;
        const auto address = ParsePublishAddress(target.address, problem);
        if (!address) {
            prompts_.Failed(QStringLiteral("The address of \"") + name +
                                QStringLiteral("\" is not valid"),
                            QString::fromStdString(problem));
            return;
        }
        // The password: typed into the target dialog, else kept in the secret store, else
        // asked for. SFTP first tries the SSH agent and the user's keys, and asks only when
        // the server wants more.
        bool asked = !secret.isEmpty();
        const auto ask = [&]() -> bool {
            asked = true;
            const SecretStore::Reading reading = secrets_.Read(name);
            if (reading.secret) {
                secret = *reading.secret;
                return true;
            }
            const QString reason =
                reading.unavailable.isEmpty()
                    ? QStringLiteral("No password is kept for this target yet; it will be "
                                     "kept in the desktop's secret store.")
                    : QStringLiteral("No secret service runs on this desktop, so the "
                                     "password cannot be kept and is asked for every time (") +
                          reading.unavailable + QStringLiteral(").");
            const auto answer = prompts_.AskSecret(name, reason);
            if (!answer) {
                return false;
            }
            secret = *answer;
            if (reading.unavailable.isEmpty()) {
                (void)secrets_.Write(name, secret);
            }
            return true;
        };
        const bool keysFirst = address->protocol == Protocol::Sftp;
        if (address->protocol != Protocol::Folder && !asked && !keysFirst && !ask()) {
            return;
        }

        const PreparedLetter letter = letter_(Utf8ToAnsi(target.publicAddress));
        if (!letter.HasTemplate()) {
            prompts_.Failed(QStringLiteral("There is no template to make the letter from"), {});
            return;
        }
        TransportSettings settings;
        const auto useSecret = [&] {
            if (address->protocol == Protocol::S3) {
                const qsizetype colon = secret.indexOf(QLatin1Char(':'));
                settings.keyId = secret.left(colon < 0 ? 0 : colon).toStdString();
                settings.password = secret.mid(colon + 1).toStdString();
            } else {
                settings.password = secret.toStdString();
            }
        };
        useSecret();
        settings.trusted = target.trusted;
        settings.sshKeyFolder = (QDir::homePath() + QStringLiteral("/.ssh")).toStdString();
        for (;;) {
            const Outcome outcome = Run(letter, *address, settings, prompts_);
            if (outcome.result) {
                prompts_.Published(QString::fromStdString(PublishedMessage(*outcome.result)),
                                   QString::fromStdString(target.publicAddress));
                return;
            }
            if (outcome.failure == PublishFailure::UntrustedServer &&
                !outcome.fingerprint.isEmpty()) {
                if (!prompts_.TrustServer(QString::fromStdString(target.address),
                                          outcome.fingerprint)) {
                    // The check stopped before the password or any file went out.
                    prompts_.Failed(QStringLiteral("Nothing was published: the server was not "
                                                   "trusted"),
                                    {});
                    return;
                }
                // Remembered for this target only.
                target.trusted.push_back(outcome.fingerprint.toStdString());
                settings.trusted = target.trusted;
                WritePublishTargets(file, targets);
                continue;
            }
            if (outcome.failure == PublishFailure::WrongPassword && !asked) {
                // The keys were not enough.
                if (!ask()) {
                    return;
                }
                useSecret();
                continue;
            }
            if (outcome.failure != PublishFailure::Cancelled) {
                prompts_.Failed(outcome.message, outcome.serverMessage);
            }
            return;
        }
    } catch (const std::exception& error) {
        prompts_.Failed(QStringOfAnsi(error.what()), {});
    }
}

} // namespace scribvane
