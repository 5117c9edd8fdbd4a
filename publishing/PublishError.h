// A publish that failed: what failed in the user's words, and what the server itself said.
#pragma once

#include "utils/Errors.h"

#include <string>

namespace scribvane {

enum class PublishFailure {
    BadAddress,
    HostNotFound,
    CannotConnect,
    TimedOut,
    WrongPassword,
    UntrustedServer, // an unknown host key or a certificate nobody vouches for
    ServerChanged,   // a host key other than the one the user's known_hosts holds: never trusted
    NoSuchFolder,
    NotAllowed, // the server does not let us write there
    DiskFull,
    ConnectionLost,
    Cancelled,
    BadAnswer,
    LocalFile,
    Other,
};

class PublishError : public Error {
public:
    PublishError(PublishFailure failure, const std::string& message, std::string serverMessage = {},
                 std::string fingerprint = {})
        : Error(message), failure_(failure), serverMessage_(std::move(serverMessage)),
          fingerprint_(std::move(fingerprint)) {}

    PublishFailure failure() const { return failure_; }
    // The server's own words (or the transfer library's), empty when there are none: shown as
    // the details of the message, which says what failed in the user's words.
    const std::string& serverMessage() const { return serverMessage_; }
    // For UntrustedServer: the fingerprint the user may choose to trust.
    const std::string& fingerprint() const { return fingerprint_; }

private:
    PublishFailure failure_;
    std::string serverMessage_;
    std::string fingerprint_;
};

} // namespace scribvane
