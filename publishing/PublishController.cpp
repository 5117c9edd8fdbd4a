// The Publish action; see PublishController.h.
#include "publishing/PublishController.h"

#include "generation/LetterPreparation.h"
#include "publishing/PublishPrompts.h"
#include "publishing/PublishRetry.h"
#include "publishing/PublishTargets.h"
#include "publishing/Publisher.h"
#include "publishing/SecretStore.h"
#include "utils/Win1252.h"
#include "widgets/OffWindowThread.h"
#include "widgets/QtText.h"

#include <QDir>
#include <QTimer>
#include <atomic>

namespace scribvane {
namespace {

// Publishes off the window's thread. Progress reaches the prompts as queued calls, and Cancel
// is polled here and handed over as a flag.
PublishResult PublishBesideTheWindow(const PreparedLetter& letter, const PublishAddress& address,
                                     TransportSettings settings, PublishPrompts& prompts) {
    std::atomic<bool> cancel{false};
    settings.cancel = &cancel;
    QObject context;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &context, [&] {
        if (prompts.CancelPressed()) {
            cancel = true;
        }
    });
    poll.start(100);
    prompts.Progress(QString(), 0, 0);
    PublishResult result;
    try {
        RunOffWindowThread([&] {
            result = PublishLetter(letter, address, settings, [&](const PublishProgress& progress) {
                const QString file = QString::fromStdString(progress.file);
                const int index = static_cast<int>(progress.index);
                const int total = static_cast<int>(progress.total);
                QMetaObject::invokeMethod(
                    &context,
                    [&prompts, file, index, total] { prompts.Progress(file, index, total); },
                    Qt::QueuedConnection);
            });
        });
    } catch (...) {
        prompts.Done();
        throw;
    }
    prompts.Done();
    return result;
}

} // namespace

PublishController::PublishController(LetterFunction letter, std::filesystem::path programFolder,
                                     PublishPrompts& prompts, SecretStore& secrets)
    : letter_(std::move(letter)), programFolder_(std::move(programFolder)), prompts_(prompts),
      secrets_(secrets) {}

std::optional<std::size_t> PublishController::ChooseTarget(std::vector<PublishTarget>& targets,
                                                           QString& typedSecret) {
    if (!targets.empty()) {
        QStringList names;
        for (const auto& target : targets) {
            names << QString::fromStdString(target.name);
        }
        const auto chosen = prompts_.ChooseTarget(names);
        if (!chosen) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(*chosen) < targets.size()) {
            return static_cast<std::size_t>(*chosen);
        }
    }
    PublishTarget fresh;
    if (!prompts_.EditTarget(fresh, typedSecret)) {
        return std::nullopt;
    }
    std::erase_if(targets, [&](const PublishTarget& t) { return t.name == fresh.name; });
    targets.push_back(fresh);
    WritePublishTargets(programFolder_ / "publish.dat", targets);
    if (!typedSecret.isEmpty()) {
        (void)secrets_.Write(QString::fromStdString(fresh.name), typedSecret);
    }
    return targets.size() - 1;
}

std::optional<QString> PublishController::ObtainSecret(const QString& target) {
    const SecretStore::Reading reading = secrets_.Read(target);
    if (reading.secret) {
        return reading.secret;
    }
    const QString reason =
        reading.unavailable.isEmpty()
            ? QStringLiteral("No password is kept for this target yet; it will be "
                             "kept in the desktop's secret store.")
            : QStringLiteral("No secret service runs on this desktop, so the "
                             "password cannot be kept and is asked for every time (") +
                  reading.unavailable + QStringLiteral(").");
    auto answer = prompts_.AskSecret(target, reason);
    if (answer && reading.unavailable.isEmpty()) {
        (void)secrets_.Write(target, *answer);
    }
    return answer;
}

void PublishController::Publish() {
    const auto file = programFolder_ / "publish.dat";
    try {
        auto targets = ReadPublishTargets(file);
        QString typed; // in the target dialog, for a new target
        const auto index = ChooseTarget(targets, typed);
        if (!index) {
            return;
        }
        PublishTarget& target = targets[*index];
        std::string problem;
        const auto address = ParsePublishAddress(target.address, problem);
        if (!address) {
            prompts_.Failed(QStringLiteral("The address of \"") +
                                QString::fromStdString(target.name) +
                                QStringLiteral("\" is not valid"),
                            QString::fromStdString(problem));
            return;
        }
        const PreparedLetter letter = letter_(Utf8ToAnsi(target.publicAddress));
        if (!letter.HasTemplate()) {
            prompts_.Failed(QStringLiteral("There is no template to make the letter from"), {});
            return;
        }
        TransportSettings settings;
        settings.trusted = target.trusted;
        settings.sshKeyFolder = (QDir::homePath() + QStringLiteral("/.ssh")).toStdString();
        PublishRetry retry(address->protocol, settings,
                           typed.isEmpty() ? std::nullopt : std::optional(typed.toStdString()));
        PublishResult result;
        const auto attempt = [&](const TransportSettings& tried) {
            result = PublishBesideTheWindow(letter, *address, tried, prompts_);
        };
        for (;;) {
            const PublishRetry::Next next = retry.Run(attempt);
            switch (next.ask) {
            case PublishRetry::Ask::Nothing:
                prompts_.Published(QString::fromStdString(PublishedMessage(result)),
                                   QString::fromStdString(target.publicAddress));
                return;
            case PublishRetry::Ask::Trust:
                if (!prompts_.TrustServer(QString::fromStdString(target.address),
                                          QString::fromStdString(next.fingerprint))) {
                    // The check stopped before the password or any file went out.
                    prompts_.Failed(
                        QStringLiteral("Nothing was published: the server was not trusted"), {});
                    return;
                }
                retry.Trust(next.fingerprint);
                target.trusted.push_back(next.fingerprint); // remembered for this target only
                WritePublishTargets(file, targets);
                break;
            case PublishRetry::Ask::Password:
                if (const auto secret = ObtainSecret(QString::fromStdString(target.name))) {
                    retry.UseSecret(secret->toStdString());
                    break;
                }
                return;
            case PublishRetry::Ask::GiveUp:
                prompts_.Failed(QString::fromStdString(next.message),
                                QString::fromStdString(next.details));
                return;
            case PublishRetry::Ask::Cancelled:
                return;
            }
        }
    } catch (const std::exception& error) {
        prompts_.Failed(QStringOfAnsi(error.what()), {});
    }
}

} // namespace scribvane
