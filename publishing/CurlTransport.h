// The network protocols over libcurl: SFTP, FTP and FTPS (explicit TLS), WebDAV over HTTP(S) and
// S3-compatible storage (requests signed with AWS SigV4). One handle per publish, so the
// connection, the login and the TLS session are made once.
#pragma once

#include "publishing/PublishAddress.h"
#include "publishing/PublishTransport.h"

#include <cstdio>

namespace scribvane {

class CurlTransport final : public PublishTransport {
public:
    CurlTransport(const PublishAddress& address, const TransportSettings& settings);
    ~CurlTransport() override;
    CurlTransport(const CurlTransport&) = delete;
    CurlTransport& operator=(const CurlTransport&) = delete;

    std::optional<std::string> Fetch(const std::string& name, std::size_t limit) override;
    void MakeFolder() override;
    void Put(const std::string& name, const std::filesystem::path& local) override;
    void Remove(const std::string& name) override;

    // Called from libcurl's callbacks; not for other callers.
    bool TrustsFingerprint(const std::string& fingerprint);
    bool Cancelled() const;
    bool CollectAnswer(const char* data, std::size_t size);
    const std::string& Host() const { return address_.host; }

private:
    struct Response {
        long status = 0; // HTTP status; 0 for the other protocols
    };

    std::string Origin() const; // scheme, host and port (S3: endpoint and bucket)
    std::string UrlOf(const std::string& name) const;
    std::string RemotePath(const std::string& name) const; // for SFTP's rename and rm
    void Prepare(const std::string& url);
    Response Perform(const std::string& what);
    [[noreturn]] void FailHttp(long status, const std::string& what);
    bool IsHttp() const;

    PublishAddress address_;
    TransportSettings settings_;
    void* curl_ = nullptr;
    std::string answer_;
    std::size_t answerLimit_ = 0;
    bool answerTooLarge_ = false;
    std::string sshKey_;
    std::string sshPublicKey_;
    std::string awsProvider_;
    std::string seenFingerprint_; // the server's, when it was not trusted
    char errorText_[256] = {};
};

} // namespace scribvane
