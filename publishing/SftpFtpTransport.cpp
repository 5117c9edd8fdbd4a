// SFTP, FTP and FTPS; see SftpFtpTransport.h.
#include "publishing/SftpFtpTransport.h"

#include "publishing/PublishError.h"
#include "utils/TextCoding.h"

namespace scribvane {
namespace {

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

} // namespace

SftpFtpTransport::SftpFtpTransport(const PublishAddress& address, const TransportSettings& settings)
    : address_(address), session_(address.host, address.port, settings) {
    origin_ = (address_.protocol == Protocol::Sftp ? "sftp://" : "ftp://") + address_.host;
    if (address_.port != 0) {
        origin_ += ":" + std::to_string(address_.port);
    }
    session_.SetLogin(address_.user, settings.password);
    if (address_.protocol != Protocol::Sftp) {
        return;
    }
    session_.CheckSshHostKeys();
    for (const char* key : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
        const auto file = settings.sshKeyFolder / key;
        std::error_code error;
        if (!settings.sshKeyFolder.empty() && std::filesystem::is_regular_file(file, error)) {
            sshKey_ = file.string();
            sshPublicKey_ = sshKey_ + ".pub";
            break;
        }
    }
}

void SftpFtpTransport::Prepare(const std::string& name) {
    session_.Prepare(origin_ + EncodePercent(address_.folder + name, "/"));
    CURL* curl = session_.handle();
    if (address_.protocol == Protocol::Sftp) {
        curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                         CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_AGENT |
                             CURLSSH_AUTH_KEYBOARD);
        if (!sshKey_.empty()) {
            curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, sshKey_.c_str());
            curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE, sshPublicKey_.c_str());
        }
    } else if (address_.protocol == Protocol::Ftps) {
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        // FTPS servers commonly insist that each data connection resumes the control
        // connection's TLS session; with TLS 1.3 tickets the transfer library resumes the
        // previous data connection's session instead and the second transfer is refused.
        curl_easy_setopt(curl, CURLOPT_SSLVERSION,
                         static_cast<long>(CURL_SSLVERSION_TLSv1_2) |
                             static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
    }
}

std::string SftpFtpTransport::RemotePath(const std::string& name) const {
    std::string path = address_.folder + name;
    if (path.rfind("/~/", 0) == 0) {
        path = path.substr(3); // SFTP's home folder: paths relative to where the login starts
    }
    return path;
}

std::optional<std::string> SftpFtpTransport::Fetch(const std::string& name, std::size_t limit) {
    Prepare(name);
    session_.KeepAnswer(limit);
    try {
        (void)session_.Perform("read the folder");
    } catch (const PublishError& error) {
        // A missing file or folder means nothing was published there yet.
        if (error.failure() == PublishFailure::NoSuchFolder ||
            error.failure() == PublishFailure::NotAllowed) {
            return std::nullopt;
        }
        throw;
    }
    if (session_.answerTooLarge()) {
        return std::nullopt;
    }
    return session_.TakeAnswer();
}

void SftpFtpTransport::MakeFolder() {
    // Missing folders are made as the first file goes up.
}

void SftpFtpTransport::Put(const std::string& name, const std::filesystem::path& local) {
    const std::string temporary = TemporaryName(name);
    Prepare(temporary);
    session_.UploadFrom(local);
    CURL* curl = session_.handle();
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR));
    curl_easy_setopt(curl, CURLOPT_NEW_FILE_PERMS, 0644L);
    curl_easy_setopt(curl, CURLOPT_NEW_DIRECTORY_PERMS, 0755L);
    if (address_.protocol == Protocol::Sftp) {
        // SFTP's rename does not replace a file, so the old one goes just before: the gap is
        // one request long, and the complete new file is already on the server.
        session_.SetList(CURLOPT_POSTQUOTE, {"*rm " + SftpQuoted(RemotePath(name)),
                                             "rename " + SftpQuoted(RemotePath(temporary)) + " " +
                                                 SftpQuoted(RemotePath(name))});
    } else {
        // FTP's RNFR/RNTO replaces the file in one step on the servers we know.
        session_.SetList(CURLOPT_POSTQUOTE, {"RNFR " + temporary, "RNTO " + name});
    }
    (void)session_.Perform("write in the folder");
}

void SftpFtpTransport::Remove(const std::string& name) {
    Prepare("");
    session_.SetList(CURLOPT_QUOTE,
                     {address_.protocol == Protocol::Sftp ? "*rm " + SftpQuoted(RemotePath(name))
                                                          : "*DELE " + name});
    curl_easy_setopt(session_.handle(), CURLOPT_NOBODY, 1L);
    (void)session_.Perform("remove a file");
}

} // namespace scribvane
