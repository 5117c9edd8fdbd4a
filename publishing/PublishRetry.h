// The trust and password rules of publishing and of testing a connection, without a window:
// runs the attempt and, when it stops for something only the user can answer, says what to ask
// (trust this server with this fingerprint? the password?) or that it is over and why. The
// Publish action and the target dialog's Test Connection ask through it, so both ask alike.
#pragma once

#include "publishing/PublishAddress.h"
#include "publishing/PublishTransport.h"

#include <functional>
#include <optional>
#include <string>

namespace scribvane {

class PublishRetry {
public:
    enum class Ask {
        Nothing,   // the attempt succeeded
        Trust,     // "Trust this server?" with `fingerprint`
        Password,  // the password is needed (none is known, or the SSH keys were not enough)
        GiveUp,    // it failed: `message` in the user's words, `details` the server's own
        Cancelled, // the user stopped it: nothing to show
    };
    struct Next {
        Ask ask = Ask::Nothing;
        std::string fingerprint;
        std::string message; // UTF-8, as are the others
        std::string details;
    };
    // One try with these settings; throws PublishError (or any Error) when it fails.
    using Attempt = std::function<void(const TransportSettings&)>;

    // `secret` is the password (for S3 "KEYID:SECRET") known before the first attempt, if any.
    // SFTP tries the SSH agent and the user's keys first, so it needs none to start; every
    // other network protocol asks for it before anything is sent.
    PublishRetry(Protocol protocol, TransportSettings settings, std::optional<std::string> secret);

    // Runs the attempt, unless something must be asked first, and says what comes next.
    Next Run(const Attempt& attempt);

    // The user's answers to what Run asked.
    void Trust(const std::string& fingerprint);
    void UseSecret(const std::string& secret);

    const TransportSettings& settings() const { return settings_; }

private:
    Protocol protocol_;
    TransportSettings settings_;
    bool secretKnown_;
};

} // namespace scribvane
