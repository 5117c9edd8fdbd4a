// Choosing a transport, and the names every transport shares; see PublishTransport.h.
#include "publishing/PublishTransport.h"

#include "publishing/FolderTransport.h"
#include "publishing/PublishAddress.h"
#include "publishing/S3Transport.h"
#include "publishing/SftpFtpTransport.h"
#include "publishing/WebDavTransport.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace scribvane {

std::unique_ptr<PublishTransport> MakeTransport(const PublishAddress& address,
                                                const TransportSettings& settings) {
    switch (address.protocol) {
    case Protocol::Sftp:
    case Protocol::Ftps:
    case Protocol::Ftp:
        return std::make_unique<SftpFtpTransport>(address, settings);
    case Protocol::WebDavHttps:
    case Protocol::WebDavHttp:
        return std::make_unique<WebDavTransport>(address, settings);
    case Protocol::S3:
        return std::make_unique<S3Transport>(address, settings);
    case Protocol::Folder:
        break;
    }
    return std::make_unique<FolderTransport>(std::filesystem::path(address.folder));
}

std::string TemporaryName(const std::string& name) {
    // Hidden, and with an ending no web server serves as a page.
    return "." + name + ".scribvane-part";
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

bool IsSafeRemoteName(const std::string& name) {
    return !name.empty() && name.size() <= 200 && name != "." && name != ".." &&
           std::none_of(name.begin(), name.end(), [](char c) {
               return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
           });
}

} // namespace scribvane
