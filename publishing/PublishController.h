// The Publish button of step 8: chooses or sets up a target, publishes on a thread of its own
// while the window shows progress, asks what the trust and password rules (PublishRetry) say to
// ask, finds the password in the secret store or asks for it, and tells the outcome. It sees the
// letter only through the function it is given, which prepares the current letter for the
// target's public address.
#pragma once

#include "generation/LetterPreparation.h"

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace scribvane {

class PublishPrompts;
class SecretStore;
struct PublishTarget;

class PublishController {
public:
    using LetterFunction = std::function<PreparedLetter(std::string publicAddress)>;

    PublishController(LetterFunction letter, std::filesystem::path programFolder,
                      PublishPrompts& prompts, SecretStore& secrets);

    // The whole Publish action; returns when it ended (the window keeps running meanwhile).
    void Publish();

private:
    // The target chosen, or set up (and kept) when there is none or the user asks for a new one;
    // nothing when cancelled. A password typed while setting it up is given back in
    // `typedSecret`.
    std::optional<std::size_t> ChooseTarget(std::vector<PublishTarget>& targets,
                                            QString& typedSecret);
    // The target's password: kept in the secret store, else asked for (and kept when it can).
    std::optional<QString> ObtainSecret(const QString& target);

    LetterFunction letter_;
    std::filesystem::path programFolder_;
    PublishPrompts& prompts_;
    SecretStore& secrets_;
};

} // namespace scribvane
