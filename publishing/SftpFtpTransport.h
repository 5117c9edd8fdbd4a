// Publishing over SFTP, FTP and FTPS (explicit TLS): a file goes up under a temporary name and
// is renamed into place by a command sent right after it, on the same connection; missing
// folders are made as the first file goes up.
#pragma once

#include "publishing/CurlSession.h"
#include "publishing/PublishAddress.h"
#include "publishing/PublishTransport.h"

namespace scribvane {

class SftpFtpTransport final : public PublishTransport {
public:
    SftpFtpTransport(const PublishAddress& address, const TransportSettings& settings);

    std::optional<std::string> Fetch(const std::string& name, std::size_t limit) override;
    void MakeFolder() override;
    void Put(const std::string& name, const std::filesystem::path& local) override;
    void Remove(const std::string& name) override;

private:
    void Prepare(const std::string& name);
    std::string RemotePath(const std::string& name) const; // for SFTP's rename and rm

    PublishAddress address_;
    CurlSession session_;
    std::string origin_; // scheme, host and port
    std::string sshKey_;
    std::string sshPublicKey_;
};

} // namespace scribvane
