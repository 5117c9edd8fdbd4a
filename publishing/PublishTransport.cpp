// Choosing a transport, and the names every transport shares; see PublishTransport.h.
#include "publishing/PublishTransport.h"

#include "publishing/CurlTransport.h"
#include "publishing/FolderTransport.h"
#include "publishing/PublishAddress.h"

#include <algorithm>

namespace scribvane {

std::unique_ptr<PublishTransport> MakeTransport(const PublishAddress& address,
                                                const TransportSettings& settings) {
    if (address.protocol == Protocol::Folder) {
        return std::make_unique<FolderTransport>(std::filesystem::path(address.folder));
    }
    return std::make_unique<CurlTransport>(address, settings);
}

std::string TemporaryName(const std::string& name) {
    // Hidden, and with an ending no web server serves as a page.
    return "." + name + ".scribvane-part";
}

bool IsSafeRemoteName(const std::string& name) {
    return !name.empty() && name.size() <= 200 && name != "." && name != ".." &&
           std::none_of(name.begin(), name.end(), [](char c) {
               return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
           });
}

} // namespace scribvane
