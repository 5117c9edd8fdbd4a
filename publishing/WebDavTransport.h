// Publishing over WebDAV (HTTP or HTTPS): folders are made level by level with MKCOL, a file
// goes up with PUT under a temporary name and MOVE puts it in place, replacing the old one.
#pragma once

#include "publishing/CurlSession.h"
#include "publishing/PublishAddress.h"
#include "publishing/PublishTransport.h"

namespace scribvane {

class WebDavTransport final : public PublishTransport {
public:
    WebDavTransport(const PublishAddress& address, const TransportSettings& settings);

    std::optional<std::string> Fetch(const std::string& name, std::size_t limit) override;
    void MakeFolder() override;
    void Put(const std::string& name, const std::filesystem::path& local) override;
    void Remove(const std::string& name) override;

private:
    std::string UrlOf(const std::string& path) const;
    void Prepare(const std::string& url);

    PublishAddress address_;
    CurlSession session_;
    std::string origin_; // scheme, host and port
};

} // namespace scribvane
