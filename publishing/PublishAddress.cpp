// Publish addresses; see PublishAddress.h.
#include "publishing/PublishAddress.h"

#include "utils/TextCoding.h"

#include <array>
#include <charconv>
#include <utility>

namespace scribvane {
namespace {

struct Scheme {
    std::string_view prefix;
    Protocol protocol;
};

constexpr std::array kSchemes{
    Scheme{"sftp://", Protocol::Sftp},
    Scheme{"ftps://", Protocol::Ftps},
    Scheme{"ftp://", Protocol::Ftp},
    Scheme{"webdav+https://", Protocol::WebDavHttps},
    Scheme{"webdav+http://", Protocol::WebDavHttp},
    Scheme{"s3://", Protocol::S3},
    Scheme{"file://", Protocol::Folder},
};

bool HasControlCharacter(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

// The folder as "/a/b/": every segment checked, so nothing is ever written above it.
std::optional<std::string> CleanFolder(std::string_view path, std::string& problem) {
    const auto decoded = DecodePercent(path);
    if (!decoded) {
        problem = "the folder holds a broken %-escape";
        return std::nullopt;
    }
    if (HasControlCharacter(*decoded) || decoded->find('\\') != std::string::npos) {
        problem = "the folder holds a control character or a backslash";
        return std::nullopt;
    }
    std::string folder = "/";
    std::size_t start = 0;
    while (start <= decoded->size()) {
        std::size_t end = decoded->find('/', start);
        if (end == std::string::npos) {
            end = decoded->size();
        }
        const std::string_view segment = std::string_view(*decoded).substr(start, end - start);
        if (segment == "..") {
            problem = "the folder may not name \"..\"";
            return std::nullopt;
        }
        if (!segment.empty() && segment != ".") {
            folder.append(segment);
            folder += '/';
        }
        start = end + 1;
    }
    return folder;
}

std::optional<std::string> QueryValue(std::string_view query, std::string_view name) {
    std::size_t start = 0;
    while (start < query.size()) {
        std::size_t end = query.find('&', start);
        if (end == std::string_view::npos) {
            end = query.size();
        }
        const std::string_view pair = query.substr(start, end - start);
        if (pair.size() > name.size() && pair.substr(0, name.size()) == name &&
            pair[name.size()] == '=') {
            return DecodePercent(pair.substr(name.size() + 1));
        }
        start = end + 1;
    }
    return std::nullopt;
}

bool ParseS3(std::string_view rest, PublishAddress& address, std::string& problem) {
    std::string_view query;
    if (const auto mark = rest.find('?'); mark != std::string_view::npos) {
        query = rest.substr(mark + 1);
        rest = rest.substr(0, mark);
    }
    const auto slash = rest.find('/');
    const auto bucket = DecodePercent(rest.substr(0, slash));
    if (!bucket || bucket->empty() ||
        bucket->find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.-") != std::string::npos) {
        problem = "the bucket name must be lower-case letters, digits, dots and hyphens";
        return false;
    }
    address.bucket = *bucket;
    const auto folder =
        CleanFolder(slash == std::string_view::npos ? "" : rest.substr(slash), problem);
    if (!folder) {
        return false;
    }
    address.folder = *folder;
    const auto endpoint = QueryValue(query, "endpoint");
    if (!endpoint || (endpoint->rfind("https://", 0) != 0 && endpoint->rfind("http://", 0) != 0) ||
        HasControlCharacter(*endpoint)) {
        problem = "an s3 address needs ?endpoint=https://host:port";
        return false;
    }
    address.endpoint = *endpoint;
    while (!address.endpoint.empty() && address.endpoint.back() == '/') {
        address.endpoint.pop_back();
    }
    const auto region = QueryValue(query, "region");
    address.region = region && !region->empty() ? *region : "us-east-1";
    if (address.region.find_first_of(":/ ") != std::string::npos ||
        HasControlCharacter(address.region)) {
        problem = "the region may not hold ':', '/' or blanks";
        return false;
    }
    return true;
}

} // namespace

std::optional<PublishAddress> ParsePublishAddress(std::string_view text, std::string& problem) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    PublishAddress address;
    std::string_view rest;
    bool known = false;
    for (const auto& scheme : kSchemes) {
        if (text.size() >= scheme.prefix.size() &&
            text.substr(0, scheme.prefix.size()) == scheme.prefix) {
            address.protocol = scheme.protocol;
            rest = text.substr(scheme.prefix.size());
            known = true;
            break;
        }
    }
    if (!known) {
        problem = "the address must start with sftp://, ftps://, ftp://, webdav+https://, "
                  "webdav+http://, s3:// or file://";
        return std::nullopt;
    }
    if (address.protocol == Protocol::S3) {
        if (!ParseS3(rest, address, problem)) {
            return std::nullopt;
        }
        return address;
    }
    const auto slash = rest.find('/');
    if (rest.find('?') != std::string_view::npos || rest.find('#') != std::string_view::npos) {
        problem = "the address may not hold '?' or '#'";
        return std::nullopt;
    }
    std::string_view authority = rest.substr(0, slash);
    const auto folder =
        CleanFolder(slash == std::string_view::npos ? "" : rest.substr(slash), problem);
    if (!folder) {
        return std::nullopt;
    }
    address.folder = *folder;
    if (address.protocol == Protocol::Folder) {
        if (!authority.empty() && authority != "localhost") {
            problem = "a file address names a folder on this computer: file:///folder/";
            return std::nullopt;
        }
        return address;
    }
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        const auto user = DecodePercent(authority.substr(0, at));
        if (!user || HasControlCharacter(*user)) {
            problem = "the user name holds a broken %-escape or a control character";
            return std::nullopt;
        }
        if (user->find(':') != std::string::npos) {
            problem = "the address may not hold a password; it is asked for or kept in the "
                      "secret store";
            return std::nullopt;
        }
        address.user = *user;
        authority = authority.substr(at + 1);
    }
    std::string_view host = authority;
    if (!host.empty() && host.front() == '[') {
        const auto close = host.find(']');
        if (close == std::string_view::npos) {
            problem = "the host's '[' has no ']'";
            return std::nullopt;
        }
        address.host = std::string(host.substr(0, close + 1));
        host = host.substr(close + 1);
        if (!host.empty() && host.front() != ':') {
            problem = "unexpected text after the host";
            return std::nullopt;
        }
    } else {
        const auto colon = host.find(':');
        address.host = std::string(host.substr(0, colon));
        host = colon == std::string_view::npos ? std::string_view() : host.substr(colon);
    }
    if (!host.empty()) {
        const std::string_view port = host.substr(1);
        int value = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (port.empty() || error != std::errc() || end != port.data() + port.size() || value < 1 ||
            value > 65535) {
            problem = "the port must be a number from 1 to 65535";
            return std::nullopt;
        }
        address.port = value;
    }
    if (address.host.empty() ||
        address.host.find_first_of(" \t\"'<>\\%{}|^`") != std::string::npos ||
        HasControlCharacter(address.host)) {
        problem = "the address needs a host name without blanks or quotes";
        return std::nullopt;
    }
    return address;
}

std::string FormatPublishAddress(const PublishAddress& address) {
    std::string text;
    for (const auto& scheme : kSchemes) {
        if (scheme.protocol == address.protocol) {
            text = scheme.prefix;
        }
    }
    if (address.protocol == Protocol::S3) {
        return text + address.bucket + EncodePercent(address.folder, "/") +
               "?endpoint=" + address.endpoint + "&region=" + address.region;
    }
    if (!address.user.empty()) {
        text += EncodePercent(address.user, "/") + "@";
    }
    text += address.host;
    if (address.port != 0) {
        text += ":" + std::to_string(address.port);
    }
    return text + EncodePercent(address.folder, "/");
}

bool SendsPasswordInClear(Protocol protocol) {
    return protocol == Protocol::Ftp || protocol == Protocol::WebDavHttp;
}

} // namespace scribvane
