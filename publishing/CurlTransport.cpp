// The libcurl transport; see CurlTransport.h.
#include "publishing/CurlTransport.h"

#include "publishing/Digest.h"
#include "publishing/PublishError.h"
#include "utils/FileIo.h"

#include <algorithm>
#include <array>
#include <curl/curl.h>
#include <memory>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace scribvane {
namespace {

// Error answers are shown to the user in one line; no more of them is kept.
constexpr std::size_t kLargestErrorAnswer = 4096;

struct SlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistFree>;

void Append(Slist& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) {
        throw PublishError(PublishFailure::Other, "Out of memory");
    }
    (void)list.release();
    list.reset(grown);
}

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Quotes a path for SFTP's quote commands, which read "..." with backslash escapes.
std::string SftpQuoted(const std::string& path) {
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string ContentType(const std::string& name) {
    const auto dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kTypes{{
        {"html", "text/html"},
        {"htm", "text/html"},
        {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},
        {"png", "image/png"},
        {"webp", "image/webp"},
        {"svg", "image/svg+xml"},
        {"css", "text/css"},
    }};
    for (const auto& [known, type] : kTypes) {
        if (extension == known) {
            return std::string(type);
        }
    }
    return "application/octet-stream";
}

// What an error answer says, in one short line: S3's <Message>, else its first text.
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

// --- libcurl callbacks -------------------------------------------------------------------

std::size_t CollectCallback(char* data, std::size_t size, std::size_t count, void* self) {
    const std::size_t bytes = size * count;
    return static_cast<CurlTransport*>(self)->CollectAnswer(data, bytes) ? bytes : 0;
}

int ProgressCallback(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<CurlTransport*>(self)->Cancelled() ? 1 : 0;
}

int HostKeyCallback(void* self, int, const char* key, std::size_t length) {
    return static_cast<CurlTransport*>(self)->TrustsFingerprint(
               SshFingerprint(std::string_view(key, length)))
               ? CURLKHMATCH_OK
               : CURLKHMATCH_MISMATCH;
}

int TransportIndex() {
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
        static_cast<CurlTransport*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), TransportIndex()));
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
    if (self->TrustsFingerprint(fingerprint)) {
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
    SSL_CTX_set_ex_data(ctx, TransportIndex(), self);
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, VerifyCallback);
    return CURLE_OK;
}

CURL* Handle(void* curl) {
    return static_cast<CURL*>(curl);
}

} // namespace

CurlTransport::CurlTransport(const PublishAddress& address, const TransportSettings& settings)
    : address_(address), settings_(settings) {
    awsProvider_ = "aws:amz:" + address_.region + ":s3";
    static const CURLcode global = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (global != CURLE_OK || !(curl_ = curl_easy_init())) {
        throw PublishError(PublishFailure::Other, "The transfer library could not start");
    }
}

CurlTransport::~CurlTransport() {
    curl_easy_cleanup(Handle(curl_));
}

bool CurlTransport::TrustsFingerprint(const std::string& fingerprint) {
    const std::string normal = NormalizeFingerprint(fingerprint);
    for (const auto& trusted : settings_.trusted) {
        if (NormalizeFingerprint(trusted) == normal) {
            return true;
        }
    }
    seenFingerprint_ = fingerprint;
    return false;
}

bool CurlTransport::Cancelled() const {
    return settings_.cancel && settings_.cancel->load();
}

bool CurlTransport::CollectAnswer(const char* data, std::size_t size) {
    if (answer_.size() + size > answerLimit_) {
        answerTooLarge_ = true;
        return false;
    }
    answer_.append(data, size);
    return true;
}

bool CurlTransport::IsHttp() const {
    return address_.protocol == Protocol::WebDavHttps ||
           address_.protocol == Protocol::WebDavHttp || address_.protocol == Protocol::S3;
}

std::string CurlTransport::Origin() const {
    std::string origin;
    switch (address_.protocol) {
    case Protocol::Sftp:
        origin = "sftp://";
        break;
    case Protocol::Ftps:
    case Protocol::Ftp:
        origin = "ftp://";
        break;
    case Protocol::WebDavHttps:
        origin = "https://";
        break;
    case Protocol::WebDavHttp:
        origin = "http://";
        break;
    case Protocol::S3:
        return address_.endpoint + "/" + address_.bucket;
    case Protocol::Folder:
        break;
    }
    origin += address_.host;
    if (address_.port != 0) {
        origin += ":" + std::to_string(address_.port);
    }
    return origin;
}

std::string CurlTransport::UrlOf(const std::string& name) const {
    return Origin() + EncodePath(address_.folder + name);
}

std::string CurlTransport::RemotePath(const std::string& name) const {
    std::string path = address_.folder + name;
    if (path.rfind("/~/", 0) == 0) {
        path = path.substr(3); // SFTP's home folder: paths relative to where the login starts
    }
    return path;
}

void CurlTransport::Prepare(const std::string& url) {
    CURL* curl = Handle(curl_);
    // A reset keeps the open connection, the login and the TLS session.
    curl_easy_reset(curl);
    answer_.clear();
    answerLimit_ = kLargestErrorAnswer;
    answerTooLarge_ = false;
    errorText_[0] = '\0';
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText_);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, settings_.timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, settings_.timeoutSeconds);
    // A transfer that moves less than a byte a second for the whole time-out has stalled.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, settings_.timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, ProgressCallback);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, CollectCallback);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "sftp,ftp,http,https");
    // The certificate is checked by our own callback, which also knows the trusted ones.
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, SslContextCallback);
    curl_easy_setopt(curl, CURLOPT_SSL_CTX_DATA, this);

    switch (address_.protocol) {
    case Protocol::Sftp: {
        curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYFUNCTION, HostKeyCallback);
        curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYDATA, this);
        curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                         CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_AGENT |
                             CURLSSH_AUTH_KEYBOARD);
        for (const char* key : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
            const auto file = settings_.sshKeyFolder / key;
            std::error_code error;
            if (!settings_.sshKeyFolder.empty() && std::filesystem::is_regular_file(file, error)) {
                sshKey_ = file.string();
                sshPublicKey_ = sshKey_ + ".pub";
                curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, sshKey_.c_str());
                curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE, sshPublicKey_.c_str());
                break;
            }
        }
        break;
    }
    case Protocol::Ftps:
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        // FTPS servers commonly insist that each data connection resumes the control
        // connection's TLS session; with TLS 1.3 tickets the transfer library resumes the
        // previous data connection's session instead and the second transfer is refused.
        curl_easy_setopt(curl, CURLOPT_SSLVERSION,
                         static_cast<long>(CURL_SSLVERSION_TLSv1_2) |
                             static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
        break;
    case Protocol::S3:
        curl_easy_setopt(curl, CURLOPT_AWS_SIGV4, awsProvider_.c_str());
        break;
    case Protocol::WebDavHttps:
        // Offered HTTP/2, a WebDAV server may take it and then break off every upload
        // ("Stream error in the HTTP/2 framing layer"); a letter's few files gain nothing
        // from it, so WebDAV speaks HTTP/1.1 as it does over plain http.
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
        break;
    default:
        break;
    }
    if (address_.protocol == Protocol::S3) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, settings_.keyId.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, settings_.password.c_str());
    } else {
        curl_easy_setopt(curl, CURLOPT_USERNAME, address_.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, settings_.password.c_str());
        if (IsHttp()) {
            curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC | CURLAUTH_DIGEST);
        }
    }
}

CurlTransport::Response CurlTransport::Perform(const std::string& what) {
    CURL* curl = Handle(curl_);
    seenFingerprint_.clear();
    const CURLcode code = curl_easy_perform(curl);
    Response response;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && answerTooLarge_)) {
        if (!IsHttp()) {
            response.status = 0;
        }
        return response;
    }
    const std::string server = errorText_[0] != '\0' ? errorText_ : curl_easy_strerror(code);
    const std::string host = address_.host.empty() ? address_.endpoint : address_.host;
    if (!seenFingerprint_.empty() && (code == CURLE_PEER_FAILED_VERIFICATION ||
                                      code == CURLE_SSL_CONNECT_ERROR || code == CURLE_SSH)) {
        throw PublishError(PublishFailure::UntrustedServer,
                           "The server " + host + " is not known: fingerprint " + seenFingerprint_ +
                               "; trust it only if it is the server's own",
                           server, seenFingerprint_);
    }
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        throw PublishError(PublishFailure::HostNotFound, "Host not found: " + host, server);
    case CURLE_COULDNT_CONNECT:
        throw PublishError(PublishFailure::CannotConnect, "Could not connect to " + host, server);
    case CURLE_OPERATION_TIMEDOUT:
        throw PublishError(PublishFailure::TimedOut,
                           "The connection timed out after " +
                               std::to_string(settings_.timeoutSeconds) + " s",
                           server);
    case CURLE_LOGIN_DENIED:
        throw PublishError(PublishFailure::WrongPassword,
                           "The server refused the user name or password", server);
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        throw PublishError(PublishFailure::UntrustedServer, "The server could not be verified",
                           server);
    case CURLE_REMOTE_DISK_FULL:
        throw PublishError(PublishFailure::DiskFull, "The disk is full on the server", server);
    case CURLE_REMOTE_FILE_NOT_FOUND:
        throw PublishError(PublishFailure::NoSuchFolder, "No such folder on the server", server);
    case CURLE_ABORTED_BY_CALLBACK:
        throw PublishError(PublishFailure::Cancelled, "Publishing was cancelled");
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
        if (server.find(" 452") != std::string::npos || server.find(" 552") != std::string::npos) {
            throw PublishError(PublishFailure::DiskFull, "The disk is full on the server", server);
        }
        throw PublishError(PublishFailure::NotAllowed, "The server does not let us " + what,
                           server);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_SSH:
    case CURLE_SSL_CONNECT_ERROR:
        throw PublishError(PublishFailure::ConnectionLost,
                           "The connection to " + host + " was lost", server);
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_WRITE_ERROR:
        throw PublishError(PublishFailure::BadAnswer, "The server gave an answer we cannot use",
                           server);
    default:
        throw PublishError(PublishFailure::Other, "Could not " + what, server);
    }
}

void CurlTransport::FailHttp(long status, const std::string& what) {
    const std::string server =
        "HTTP " + std::to_string(status) + (answer_.empty() ? "" : ": " + AnswerMessage(answer_));
    if (status == 401 || (address_.protocol == Protocol::S3 && status == 403 &&
                          (answer_.find("InvalidAccessKeyId") != std::string::npos ||
                           answer_.find("SignatureDoesNotMatch") != std::string::npos))) {
        throw PublishError(PublishFailure::WrongPassword,
                           "The server refused the user name or password", server);
    }
    if (status == 403 || status == 405) {
        throw PublishError(PublishFailure::NotAllowed, "The server does not let us " + what,
                           server);
    }
    if (status == 404 || status == 409) {
        throw PublishError(PublishFailure::NoSuchFolder, "No such folder on the server", server);
    }
    if (status == 507 || status == 413) {
        throw PublishError(PublishFailure::DiskFull, "The disk is full on the server", server);
    }
    throw PublishError(PublishFailure::Other, "Could not " + what, server);
}

std::optional<std::string> CurlTransport::Fetch(const std::string& name, std::size_t limit) {
    Prepare(UrlOf(name));
    answerLimit_ = limit;
    Slist headers;
    if (address_.protocol == Protocol::S3) {
        Append(headers, "x-amz-content-sha256: " + Sha256Hex(""));
        curl_easy_setopt(Handle(curl_), CURLOPT_HTTPHEADER, headers.get());
    }
    Response response;
    try {
        response = Perform("read the folder");
    } catch (const PublishError& error) {
        // A missing file or folder means nothing was published there yet.
        if (!IsHttp() && (error.failure() == PublishFailure::NoSuchFolder ||
                          error.failure() == PublishFailure::NotAllowed)) {
            return std::nullopt;
        }
        throw;
    }
    if (answerTooLarge_) {
        return std::nullopt;
    }
    if (IsHttp() && response.status != 200) {
        if (response.status == 404) {
            return std::nullopt;
        }
        FailHttp(response.status, "read the folder");
    }
    return std::move(answer_);
}

void CurlTransport::MakeFolder() {
    if (address_.protocol != Protocol::WebDavHttps && address_.protocol != Protocol::WebDavHttp) {
        // SFTP and FTP make missing folders as the first file goes up; S3 has no folders.
        return;
    }
    // MKCOL makes one folder whose parent must exist: each level from the top, "already
    // there" (405) being fine.
    std::string path;
    std::size_t start = 1;
    while (start < address_.folder.size()) {
        const std::size_t end = address_.folder.find('/', start);
        path = address_.folder.substr(0, end + 1);
        start = end + 1;
        Prepare(Origin() + EncodePath(path));
        curl_easy_setopt(Handle(curl_), CURLOPT_CUSTOMREQUEST, "MKCOL");
        curl_easy_setopt(Handle(curl_), CURLOPT_NOBODY, 0L);
        const Response response = Perform("create the folder");
        if (response.status != 201 && response.status != 405 && response.status != 200 &&
            response.status != 204) {
            FailHttp(response.status, "create the folder");
        }
    }
}

void CurlTransport::Put(const std::string& name, const std::filesystem::path& local) {
    std::unique_ptr<std::FILE, FileClose> file(std::fopen(local.c_str(), "rb"));
    std::error_code error;
    const auto size = std::filesystem::file_size(local, error);
    if (!file || error) {
        throw PublishError(PublishFailure::LocalFile, "Cannot read " + local.string());
    }
    CURL* curl = Handle(curl_);
    Slist headers;
    Slist after;
    std::string body;
    if (address_.protocol == Protocol::S3) {
        // S3 puts an object in place only once all of it arrived: no temporary name. The body
        // is signed, so it is read first (letters and their pictures are small).
        body = ReadFileBytes(local);
        Prepare(UrlOf(name));
        Append(headers, "x-amz-content-sha256: " + Sha256Hex(body));
        Append(headers, "Content-Type: " + ContentType(name));
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "PUT");
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        const Response response = Perform("write in the folder");
        if (response.status / 100 != 2) {
            FailHttp(response.status, "write in the folder");
        }
        return;
    }
    const std::string temporary = TemporaryName(name);
    Prepare(UrlOf(temporary));
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READDATA, file.get());
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    if (IsHttp()) {
        Append(headers, "Content-Type: " + ContentType(name));
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
        const Response response = Perform("write in the folder");
        if (response.status / 100 != 2) {
            FailHttp(response.status, "write in the folder");
        }
        // MOVE with Overwrite puts the whole file in place at once.
        Prepare(UrlOf(temporary));
        Slist move;
        Append(move, "Destination: " + UrlOf(name));
        Append(move, "Overwrite: T");
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "MOVE");
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, move.get());
        const Response moved = Perform("rename a file");
        if (moved.status / 100 != 2) {
            FailHttp(moved.status, "rename a file");
        }
        return;
    }
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR));
    curl_easy_setopt(curl, CURLOPT_NEW_FILE_PERMS, 0644L);
    curl_easy_setopt(curl, CURLOPT_NEW_DIRECTORY_PERMS, 0755L);
    if (address_.protocol == Protocol::Sftp) {
        // SFTP's rename does not replace a file, so the old one goes just before: the gap is
        // one request long, and the complete new file is already on the server.
        Append(after, "*rm " + SftpQuoted(RemotePath(name)));
        Append(after,
               "rename " + SftpQuoted(RemotePath(temporary)) + " " + SftpQuoted(RemotePath(name)));
    } else {
        // FTP's RNFR/RNTO replaces the file in one step on the servers we know.
        Append(after, "RNFR " + temporary);
        Append(after, "RNTO " + name);
    }
    curl_easy_setopt(curl, CURLOPT_POSTQUOTE, after.get());
    (void)Perform("write in the folder");
}

void CurlTransport::Remove(const std::string& name) {
    CURL* curl = Handle(curl_);
    Slist commands;
    Slist headers;
    if (IsHttp()) {
        Prepare(UrlOf(name));
        if (address_.protocol == Protocol::S3) {
            Append(headers, "x-amz-content-sha256: " + Sha256Hex(""));
            curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
        }
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "DELETE");
        const Response response = Perform("remove a file");
        if (response.status / 100 != 2 && response.status != 404) {
            FailHttp(response.status, "remove a file");
        }
        return;
    }
    Prepare(UrlOf(""));
    if (address_.protocol == Protocol::Sftp) {
        Append(commands, "*rm " + SftpQuoted(RemotePath(name)));
    } else {
        Append(commands, "*DELE " + name);
    }
    curl_easy_setopt(curl, CURLOPT_QUOTE, commands.get());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    (void)Perform("remove a file");
}

} // namespace scribvane
