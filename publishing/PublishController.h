// The Publish button of step 8: chooses or sets up a target, finds its secret, publishes on a
// thread of its own while the window shows progress, asks to trust an unknown server, and
// tells the outcome. It sees the letter only through the function it is given, which prepares
// the current letter for the target's public address.
#pragma once

#include "generation/LetterPreparation.h"

#include <QString>
#include <filesystem>
#include <functional>

namespace scribvane {

class PublishPrompts;
class SecretStore;

class PublishController {
public:
    using LetterFunction = std::function<PreparedLetter(std::string publicAddress)>;

    PublishController(LetterFunction letter, std::filesystem::path programFolder,
                      PublishPrompts& prompts, SecretStore& secrets);

    // The whole Publish action; returns when it ended (the window keeps running meanwhile).
    void Publish();

private:
    LetterFunction letter_;
    std::filesystem::path programFolder_;
    PublishPrompts& prompts_;
    SecretStore& secrets_;
};

} // namespace scribvane
