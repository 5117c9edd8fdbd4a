// The shared libcurl session; see CurlSession.h.
#include "publishing/CurlSession.h"

#include "publishing/Digest.h"
#include "publishing/PublishError.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/Log.h"

#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace scribvane {
namespace {

// Error answers are shown to the user in one line; no more of them is kept.
constexpr std::size_t kLargestErrorAnswer = 4096;
// A known_hosts file of many thousand servers; anything larger is not one.
constexpr std::uintmax_t kLargestKnownHosts = std::uintmax_t{8} * 1024 * 1024;

// What an error answer says, in one short line: S3's <Message>, else its title, else its
// first text.
std::string AnswerMessage(std::string answer) {
    if (const auto start = answer.find("<Message>"); start != std::string::npos) {
        const auto end = answer.find("</Message>", start);
        answer = answer.substr(start + 9, end == std::string::npos ? 200 : end - start - 9);
    } else if (const auto title = answer.find("<title>"); title != std::string::npos) {
        const auto end = answer.find("</title>", title);
        answer = answer.substr(title + 7, end == std::string::npos ? 200 : end - title - 7);
    }
    for (char& c : answer) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = ' ';
        }
    }
    if (answer.size() > 200) {
        answer.resize(200);
    }
    return answer;
}

std::string ReadKnownHosts(const std::filesystem::path& sshFolder) {
    if (sshFolder.empty()) {
        return {};
    }
    const auto file = sshFolder / "known_hosts";
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) ||
        std::filesystem::file_size(file, error) > kLargestKnownHosts || error) {
        return {};
    }
    try {
        return ReadFileBytes(file);
    } catch (const Error& failure) {
        LogNote(LogTopic::Publishing, std::string("known_hosts was not read: ") + failure.what());
        return {};
    }
}

// --- libcurl callbacks -------------------------------------------------------------------

std::size_t CollectCallback(char* data, std::size_t size, std::size_t count, void* self) {
    const std::size_t bytes = size * count;
    return static_cast<CurlSession*>(self)->CollectAnswer(data, bytes) ? bytes : 0;
}

int ProgressCallback(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<CurlSession*>(self)->Cancelled() ? 1 : 0;
}

int HostKeyCallback(void* self, int, const char* key, std::size_t length) {
    return static_cast<CurlSession*>(self)->TrustsHostKey(std::string_view(key, length))
               ? CURLKHMATCH_OK
               : CURLKHMATCH_MISMATCH;
}

int SessionIndex() {
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

int ChainIndex() {
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

// The certificate check. A chain that the system's authorities vouch for and that names the
// host passes; so does a leaf certificate whose fingerprint the user trusted. Anything else
// stops the handshake before a password is sent, with the fingerprint kept for the question.
int VerifyCallback(int preverified, X509_STORE_CTX* store) {
    auto* ssl =
        static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* self =
        static_cast<CurlSession*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), SessionIndex()));
    if (!self) {
        return 0;
    }
    if (X509_STORE_CTX_get_error_depth(store) > 0) {
        if (!preverified) {
            SSL_set_ex_data(ssl, ChainIndex(), ssl); // the chain failed somewhere above
        }
        return 1;
    }
    X509* certificate = X509_STORE_CTX_get_current_cert(store);
    unsigned char* der = nullptr;
    const int derSize = i2d_X509(certificate, &der);
    if (derSize <= 0) {
        return 0;
    }
    const std::string fingerprint = CertificateFingerprint(
        std::string_view(reinterpret_cast<const char*>(der), static_cast<std::size_t>(derSize)));
    OPENSSL_free(der);
    if (self->TrustsCertificate(fingerprint)) {
        return 1;
    }
    if (!preverified || SSL_get_ex_data(ssl, ChainIndex())) {
        return 0;
    }
    std::string host = self->Host();
    if (host.size() > 2 && host.front() == '[') {
        host = host.substr(1, host.size() - 2);
    }
    return X509_check_host(certificate, host.c_str(), host.size(), 0, nullptr) == 1 ||
                   X509_check_ip_asc(certificate, host.c_str(), 0) == 1
               ? 1
               : 0;
}

CURLcode SslContextCallback(CURL*, void* context, void* self) {
    auto* ctx = static_cast<SSL_CTX*>(context);
    SSL_CTX_set_default_verify_paths(ctx);
    SSL_CTX_set_ex_data(ctx, SessionIndex(), self);
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, VerifyCallback);
    return CURLE_OK;
}

} // namespace

CurlSession::CurlSession(std::string host, int port, TransportSettings settings)
    : host_(std::move(host)), port_(port), settings_(std::move(settings)) {
    static const CURLcode global = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (global != CURLE_OK || !(curl_ = curl_easy_init())) {
        throw PublishError(PublishFailure::Other, "The transfer library could not start");
    }
}

CurlSession::~CurlSession() {
    curl_easy_cleanup(curl_);
}

void CurlSession::SetLogin(std::string user, std::string password, long httpAuth) {
    user_ = std::move(user);
    password_ = std::move(password);
    httpAuth_ = httpAuth;
}

void CurlSession::CheckSshHostKeys() {
    sshHostKeys_ = true;
    knownHosts_ = ReadKnownHosts(settings_.sshKeyFolder);
}

bool CurlSession::Trusts(const std::string& fingerprint) const {
    const std::string normal = NormalizeFingerprint(fingerprint);
    for (const auto& trusted : settings_.trusted) {
        if (NormalizeFingerprint(trusted) == normal) {
            return true;
        }
    }
    return false;
}

bool CurlSession::TrustsCertificate(const std::string& fingerprint) {
    if (Trusts(fingerprint)) {
        return true;
    }
    seenFingerprint_ = fingerprint;
    return false;
}

bool CurlSession::TrustsHostKey(std::string_view keyBlob) {
    switch (LookUpKnownHost(knownHosts_, host_, port_, keyBlob)) {
    case KnownHostKey::Known:
        return true;
    case KnownHostKey::Changed:
        // Never offered for trust: the user's own ssh would refuse this server too.
        keyChanged_ = true;
        return false;
    case KnownHostKey::Unknown:
        break;
    }
    const std::string fingerprint = SshFingerprint(keyBlob);
    if (Trusts(fingerprint)) {
        return true;
    }
    seenFingerprint_ = fingerprint;
    return false;
}

bool CurlSession::Cancelled() const {
    return settings_.cancel && settings_.cancel->load();
}

bool CurlSession::CollectAnswer(const char* data, std::size_t size) {
    if (answer_.size() + size > answerLimit_) {
        answerTooLarge_ = true;
        return false;
    }
    answer_.append(data, size);
    return true;
}

void CurlSession::Prepare(const std::string& url) {
    // A reset keeps the open connection, the login and the TLS session.
    curl_easy_reset(curl_);
    lists_.clear();
    upload_.reset();
    answer_.clear();
    answerLimit_ = kLargestErrorAnswer;
    answerTooLarge_ = false;
    errorText_[0] = '\0';
    curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, errorText_);
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, settings_.timeoutSeconds);
    curl_easy_setopt(curl_, CURLOPT_SERVER_RESPONSE_TIMEOUT, settings_.timeoutSeconds);
    // A transfer that moves less than a byte a second for the whole time-out has stalled.
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_TIME, settings_.timeoutSeconds);
    curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, ProgressCallback);
    curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, CollectCallback);
    curl_easy_setopt(curl_, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl_, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl_, CURLOPT_PROTOCOLS_STR, "sftp,ftp,http,https");
    // The certificate is checked by our own callback, which also knows the trusted ones.
    curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl_, CURLOPT_SSL_CTX_FUNCTION, SslContextCallback);
    curl_easy_setopt(curl_, CURLOPT_SSL_CTX_DATA, this);
    if (sshHostKeys_) {
        curl_easy_setopt(curl_, CURLOPT_SSH_HOSTKEYFUNCTION, HostKeyCallback);
        curl_easy_setopt(curl_, CURLOPT_SSH_HOSTKEYDATA, this);
    }
    curl_easy_setopt(curl_, CURLOPT_USERNAME, user_.c_str());
    curl_easy_setopt(curl_, CURLOPT_PASSWORD, password_.c_str());
    if (httpAuth_ != 0) {
        curl_easy_setopt(curl_, CURLOPT_HTTPAUTH, httpAuth_);
    }
}

void CurlSession::SetList(CURLoption option, const std::vector<std::string>& lines) {
    std::unique_ptr<curl_slist, void (*)(curl_slist*)> list(nullptr, curl_slist_free_all);
    for (const std::string& line : lines) {
        curl_slist* grown = curl_slist_append(list.get(), line.c_str());
        if (!grown) {
            throw PublishError(PublishFailure::Other, "Out of memory");
        }
        (void)list.release();
        list.reset(grown);
    }
    curl_easy_setopt(curl_, option, list.get());
    lists_.push_back(std::move(list));
}

void CurlSession::UploadFrom(const std::filesystem::path& local) {
    upload_.reset(std::fopen(local.c_str(), "rb"));
    std::error_code error;
    const auto size = std::filesystem::file_size(local, error);
    if (!upload_ || error) {
        throw PublishError(PublishFailure::LocalFile, "Cannot read " + local.string());
    }
    curl_easy_setopt(curl_, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl_, CURLOPT_READDATA, upload_.get());
    curl_easy_setopt(curl_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
}

void CurlSession::KeepAnswer(std::size_t limit) {
    answerLimit_ = limit;
}

long CurlSession::Perform(const std::string& what) {
    seenFingerprint_.clear();
    keyChanged_ = false;
    const CURLcode code = curl_easy_perform(curl_);
    long status = 0;
    curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &status);
    if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && answerTooLarge_)) {
        return status;
    }
    const std::string details = errorText_[0] != '\0' ? errorText_ : curl_easy_strerror(code);
    if (keyChanged_) {
        throw PublishError(
            PublishFailure::ServerChanged,
            "The identity of the server " + host_ +
                " has changed: its key is not the one your known_hosts file holds for it. "
                "Someone may be listening in between, so nothing was sent. If your host "
                "changed the server's key, remove the old one (ssh-keygen -R " +
                host_ + ") and try again.",
            details);
    }
    if (!seenFingerprint_.empty() && (code == CURLE_PEER_FAILED_VERIFICATION ||
                                      code == CURLE_SSL_CONNECT_ERROR || code == CURLE_SSH)) {
        throw PublishError(PublishFailure::UntrustedServer,
                           "The server " + host_ + " is not known: fingerprint " +
                               seenFingerprint_ + "; trust it only if it is the server's own",
                           details, seenFingerprint_);
    }
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        throw PublishError(PublishFailure::HostNotFound,
                           "There is no server named " + host_ + ": check the address", details);
    case CURLE_COULDNT_CONNECT:
        throw PublishError(PublishFailure::CannotConnect,
                           "Could not connect to " + host_ +
                               ": no server answers at that address and port",
                           details);
    case CURLE_OPERATION_TIMEDOUT:
        throw PublishError(PublishFailure::TimedOut,
                           "The connection timed out after " +
                               std::to_string(settings_.timeoutSeconds) + " s",
                           details);
    case CURLE_LOGIN_DENIED:
        throw PublishError(PublishFailure::WrongPassword,
                           "The server refused the user name or password", details);
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        throw PublishError(PublishFailure::UntrustedServer,
                           "The server " + host_ + " could not prove who it is", details);
    case CURLE_REMOTE_DISK_FULL:
        throw PublishError(PublishFailure::DiskFull, "The disk is full on the server", details);
    case CURLE_REMOTE_FILE_NOT_FOUND:
        throw PublishError(PublishFailure::NoSuchFolder, "No such folder on the server", details);
    case CURLE_ABORTED_BY_CALLBACK:
        throw PublishError(PublishFailure::Cancelled, "Publishing was cancelled");
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
        if (details.find(" 452") != std::string::npos ||
            details.find(" 552") != std::string::npos) {
            throw PublishError(PublishFailure::DiskFull, "The disk is full on the server", details);
        }
        throw PublishError(PublishFailure::NotAllowed, "The server does not let us " + what,
                           details);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_SSH:
    case CURLE_SSL_CONNECT_ERROR:
        throw PublishError(PublishFailure::ConnectionLost,
                           "The connection to " + host_ + " was lost", details);
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_WRITE_ERROR:
        throw PublishError(PublishFailure::BadAnswer, "The server gave an answer we cannot use",
                           details);
    default:
        throw PublishError(PublishFailure::Other, "Could not " + what, details);
    }
}

void CurlSession::FailHttp(long status, const std::string& what) {
    const std::string details =
        "HTTP " + std::to_string(status) + (answer_.empty() ? "" : ": " + AnswerMessage(answer_));
    if (status == 401) {
        throw PublishError(PublishFailure::WrongPassword,
                           "The server refused the user name or password", details);
    }
    if (status == 403 || status == 405) {
        throw PublishError(PublishFailure::NotAllowed, "The server does not let us " + what,
                           details);
    }
    if (status == 404 || status == 409) {
        throw PublishError(PublishFailure::NoSuchFolder, "No such folder on the server", details);
    }
    if (status == 507 || status == 413) {
        throw PublishError(PublishFailure::DiskFull, "The disk is full on the server", details);
    }
    throw PublishError(PublishFailure::Other, "Could not " + what, details);
}

} // namespace scribvane
