// Publishing into a local or mounted folder: the same plan as the network protocols, with
// the file system's rename putting each file in place at once.
#pragma once

#include "publishing/PublishTransport.h"

namespace scribvane {

class FolderTransport final : public PublishTransport {
public:
    explicit FolderTransport(std::filesystem::path folder);

    std::optional<std::string> Fetch(const std::string& name, std::size_t limit) override;
    void MakeFolder() override;
    void Put(const std::string& name, const std::filesystem::path& local) override;
    void Remove(const std::string& name) override;

private:
    std::filesystem::path folder_;
};

} // namespace scribvane
