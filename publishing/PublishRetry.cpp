// The trust and password rules; see PublishRetry.h.
#include "publishing/PublishRetry.h"

#include "publishing/Digest.h"
#include "publishing/PublishError.h"
#include "utils/Win1252.h"

#include <algorithm>

namespace scribvane {

PublishRetry::PublishRetry(Protocol protocol, TransportSettings settings,
                           std::optional<std::string> secret)
    : protocol_(protocol), settings_(std::move(settings)), secretKnown_(secret.has_value()) {
    if (secret) {
        UseSecret(*secret);
    }
}

void PublishRetry::Trust(const std::string& fingerprint) {
    settings_.trusted.push_back(fingerprint);
}

void PublishRetry::UseSecret(const std::string& secret) {
    secretKnown_ = true;
    if (protocol_ == Protocol::S3) {
        const auto colon = secret.find(':');
        settings_.keyId = colon == std::string::npos ? std::string() : secret.substr(0, colon);
        settings_.password = colon == std::string::npos ? secret : secret.substr(colon + 1);
    } else {
        settings_.password = secret;
    }
}

PublishRetry::Next PublishRetry::Run(const Attempt& attempt) {
    const bool needsSecret = protocol_ != Protocol::Folder && protocol_ != Protocol::Sftp;
    if (needsSecret && !secretKnown_) {
        return {Ask::Password, {}, "No password is known for this target yet.", {}};
    }
    try {
        attempt(settings_);
        return {};
    } catch (const PublishError& error) {
        const std::string& fingerprint = error.fingerprint();
        const bool askedBefore = std::any_of(
            settings_.trusted.begin(), settings_.trusted.end(), [&](const std::string& trusted) {
                return NormalizeFingerprint(trusted) == NormalizeFingerprint(fingerprint);
            });
        // A fingerprint already trusted that still fails would only be asked about again.
        if (error.failure() == PublishFailure::UntrustedServer && !fingerprint.empty() &&
            !askedBefore) {
            return {Ask::Trust, fingerprint, error.what(), error.serverMessage()};
        }
        if (error.failure() == PublishFailure::WrongPassword && !secretKnown_) {
            return {Ask::Password,
                    {},
                    "The server did not let us in with your SSH keys and asks for a password.",
                    error.serverMessage()};
        }
        if (error.failure() == PublishFailure::Cancelled) {
            return {Ask::Cancelled, {}, {}, {}};
        }
        return {Ask::GiveUp, {}, error.what(), error.serverMessage()};
    } catch (const std::exception& error) {
        // The core's own failures (a file that cannot be read) are Windows-1252 text.
        return {Ask::GiveUp, {}, AnsiToUtf8(error.what()), {}};
    }
}

} // namespace scribvane
