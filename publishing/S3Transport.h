// Publishing into S3-compatible storage: every request signed with AWS SigV4 (the body's
// SHA-256 included), objects put in place whole, so no temporary names; S3 has no folders.
#pragma once

#include "publishing/CurlSession.h"
#include "publishing/PublishAddress.h"
#include "publishing/PublishTransport.h"

namespace scribvane {

class S3Transport final : public PublishTransport {
public:
    S3Transport(const PublishAddress& address, const TransportSettings& settings);

    std::optional<std::string> Fetch(const std::string& name, std::size_t limit) override;
    void MakeFolder() override;
    void Put(const std::string& name, const std::filesystem::path& local) override;
    void Remove(const std::string& name) override;

private:
    // Starts a signed request for the object `name`, whose body has the given SHA-256.
    void Prepare(const std::string& name, const std::string& bodyDigest,
                 std::vector<std::string> headers = {});
    [[noreturn]] void Fail(long status, const std::string& what);

    PublishAddress address_;
    CurlSession session_;
    std::string awsProvider_;
};

} // namespace scribvane
