// One libcurl connection that a transport's requests share: the handle (so the connection, the
// login and the TLS session are made once per publish), the time-outs, Cancel, the answer kept
// from the server, what a failure means in the user's words, and who is trusted: a certificate
// that the system's authorities vouch for or whose fingerprint the user trusted, an SSH host
// key that the user's known_hosts holds or whose fingerprint the user trusted.
#pragma once

#include "publishing/KnownHosts.h"
#include "publishing/PublishTransport.h"

#include <curl/curl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace scribvane {

class CurlSession {
public:
    // `host` is the server's name as the address gives it (checked against its certificate and
    // named in messages); `port` the one connected to (for known_hosts).
    CurlSession(std::string host, int port, TransportSettings settings);
    ~CurlSession();
    CurlSession(const CurlSession&) = delete;
    CurlSession& operator=(const CurlSession&) = delete;

    // The user name and password (or S3 key id and secret) sent with every request; `httpAuth`
    // the HTTP schemes offered (0 for the other protocols).
    void SetLogin(std::string user, std::string password, long httpAuth = 0);
    // Checks SSH host keys: those in the user's known_hosts, then the trusted fingerprints.
    void CheckSshHostKeys();

    // Starts a request: the handle is reset (keeping the connection) and set up with what every
    // request shares. The transport adds its own options to handle() before Perform().
    void Prepare(const std::string& url);
    CURL* handle() { return curl_; }
    // A list option (headers, quote commands), kept alive until the next request.
    void SetList(CURLoption option, const std::vector<std::string>& lines);
    // Sends the local file as the request's body; throws PublishError when it cannot be read.
    void UploadFrom(const std::filesystem::path& local);
    // Keeps up to `limit` bytes of the answer (error answers are kept to a short line's worth).
    void KeepAnswer(std::size_t limit);

    // Runs the request. Returns the server's last status (HTTP's for WebDAV and S3); throws
    // PublishError
    // for a failure, `what` naming what we tried ("write in the folder").
    long Perform(const std::string& what);
    // Throws the PublishError an HTTP error status stands for.
    [[noreturn]] void FailHttp(long status, const std::string& what);

    const std::string& answer() const { return answer_; }
    bool answerTooLarge() const { return answerTooLarge_; }
    std::string TakeAnswer() { return std::move(answer_); }
    const TransportSettings& settings() const { return settings_; }

    // Called from libcurl's callbacks; not for other callers.
    bool TrustsCertificate(const std::string& fingerprint);
    bool TrustsHostKey(std::string_view keyBlob);
    bool Cancelled() const;
    bool CollectAnswer(const char* data, std::size_t size);
    const std::string& Host() const { return host_; }

private:
    bool Trusts(const std::string& fingerprint) const;

    std::string host_;
    int port_;
    TransportSettings settings_;
    CURL* curl_ = nullptr;
    std::string user_;
    std::string password_;
    long httpAuth_ = 0;
    bool sshHostKeys_ = false;
    std::string knownHosts_; // the user's known_hosts, read once
    std::vector<std::unique_ptr<curl_slist, void (*)(curl_slist*)>> lists_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> upload_{nullptr, std::fclose};
    std::string answer_;
    std::size_t answerLimit_ = 0;
    bool answerTooLarge_ = false;
    std::string seenFingerprint_; // the server's, when it was not trusted
    bool keyChanged_ = false;     // the host key is not the one known_hosts holds
    char errorText_[CURL_ERROR_SIZE] = {};
};

} // namespace scribvane
