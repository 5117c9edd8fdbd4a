// scribvane-generate --publish; see PublishCommand.h.
#include "publishing/PublishCommand.h"

#include "generation/LetterPreparation.h"
#include "generation/VipsPictureMaker.h"
#include "persistence/LetterConfiguration.h"
#include "publishing/PublishError.h"
#include "publishing/PublishTargets.h"
#include "publishing/Publisher.h"
#include "utils/FileIo.h"
#include "utils/Win1252.h"

#include <ostream>

namespace scribvane {
namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct Options {
    std::optional<std::string> config;
    std::optional<std::string> templates;
    std::optional<std::string> templateName;
    std::string target;
    std::vector<std::string> trusted;
    bool embedPictures = false;
    bool originalPictures = false;
};

std::optional<std::string> Parse(const std::vector<std::string>& arguments, Options& options) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--original-pictures") {
            options.originalPictures = true;
            continue;
        }
        if (option == "--embed-pictures") {
            options.embedPictures = true;
            continue;
        }
        std::string* value = nullptr;
        if (option == "--config") {
            value = &options.config.emplace();
        } else if (option == "--templates") {
            value = &options.templates.emplace();
        } else if (option == "--template") {
            value = &options.templateName.emplace();
        } else if (option == "--publish") {
            value = &options.target;
        } else if (option == "--trust") {
            value = &options.trusted.emplace_back();
        } else {
            return "unknown argument '" + option + "' with --publish";
        }
        if (i + 1 == arguments.size()) {
            return "option '" + option + "' needs a value";
        }
        *value = arguments[++i];
    }
    if (options.target.empty()) {
        return "option '--publish' needs a target name or an address";
    }
    return std::nullopt;
}

int Publish(const Options& options, const std::filesystem::path& programFolder, std::ostream& out,
            std::ostream& err, const EnvironmentFunction& environment) {
    // A name from publish.dat first; anything else must be an address.
    const auto targets = ReadPublishTargets(programFolder / "publish.dat");
    std::string addressText = options.target;
    std::vector<std::string> trusted = options.trusted;
    std::string publicAddress;
    if (const PublishTarget* target = FindTarget(targets, options.target)) {
        addressText = target->address;
        publicAddress = target->publicAddress;
        trusted.insert(trusted.end(), target->trusted.begin(), target->trusted.end());
    }
    std::string problem;
    const auto address = ParsePublishAddress(addressText, problem);
    if (!address) {
        err << "No publish target \"" << options.target
            << "\" in publish.dat, and not an address: " << problem << '\n';
        return kFailed;
    }

    LetterRequest request;
    request.templateFolder =
        options.templates ? std::filesystem::path(*options.templates) : programFolder / "Templates";
    const std::filesystem::path configFile =
        options.config ? std::filesystem::path(*options.config) : programFolder / "config.dat";
    request.configuration = ReadMappedConfigurationFile(configFile);
    // Without --template, the design the configuration chose, as the window and
    // scribvane-generate use it. A saved configuration holds no output name, so the page is
    // published as index.html.
    request.templateName = options.templateName;
    request.placement = SavedPlacement(options.embedPictures);
    request.publicAddress = Utf8ToAnsi(publicAddress);
    if (options.originalPictures) {
        request.configuration.SetOptional(OptionalTag::OriginalPictures, "-1");
    }
    PictureCache cache(PictureCache::DefaultFolder());
    const VipsPictureMaker pictures;
    request.pictureCache = &cache;
    request.pictureMaker = &pictures;
    const PreparedLetter letter = PrepareLetter(std::move(request));
    if (!letter.HasTemplate()) {
        err << "No template \"" << letter.values.templateName << "\" in \""
            << letter.values.templateFolder.string() << "\"; nothing was published.\n";
        return kFailed;
    }
    if (letter.templateText.empty()) {
        err << "The template \"" << letter.values.templateName
            << "\" gives an empty page; nothing was published.\n";
        return kFailed;
    }

    TransportSettings settings;
    settings.password = environment("SCRIBVANE_PUBLISH_PASSWORD").value_or("");
    settings.keyId = environment("SCRIBVANE_PUBLISH_KEY_ID").value_or("");
    settings.trusted = std::move(trusted);
    if (const auto home = environment("HOME")) {
        settings.sshKeyFolder = std::filesystem::path(*home) / ".ssh";
    }
    const PublishResult result = PublishLetter(letter, *address, settings);
    out << PublishedMessage(result) << '\n';
    return 0;
}

} // namespace

int RunPublishCommand(const std::vector<std::string>& arguments,
                      const std::filesystem::path& programFolder, std::ostream& out,
                      std::ostream& err, const EnvironmentFunction& environment) {
    Options options;
    if (const auto problem = Parse(arguments, options)) {
        err << "scribvane-generate: " << *problem << '\n';
        return kUsageError;
    }
    try {
        return Publish(options, programFolder, out, err, environment);
    } catch (const PublishError& failure) {
        err << "Publishing failed: " << failure.what();
        if (!failure.serverMessage().empty()) {
            err << " (" << failure.serverMessage() << ")";
        }
        if (failure.failure() == PublishFailure::UntrustedServer &&
            !failure.fingerprint().empty()) {
            err << "; run again with --trust " << failure.fingerprint();
        }
        err << '\n';
    } catch (const std::exception& failure) {
        err << "Publishing failed: " << AnsiToUtf8(failure.what()) << '\n';
    }
    return kFailed;
}

} // namespace scribvane
