// Looking a host key up in known_hosts; see KnownHosts.h.
#include "publishing/KnownHosts.h"

#include "publishing/Digest.h"
#include "utils/TextCoding.h"

#include <cctype>
#include <string>
#include <vector>

namespace scribvane {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
            ++at;
        }
        const std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t') {
            ++at;
        }
        if (at > start) {
            words.push_back(line.substr(start, at - start));
        }
    }
    return words;
}

// OpenSSH's patterns: '*' any run of characters, '?' any one, letters in either case.
bool Matches(std::string_view pattern, std::string_view name) {
    if (pattern.empty()) {
        return name.empty();
    }
    if (pattern.front() == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (Matches(pattern.substr(1), name.substr(skip))) {
                return true;
            }
        }
        return false;
    }
    return !name.empty() &&
           (pattern.front() == '?' || std::tolower(static_cast<unsigned char>(pattern.front())) ==
                                          std::tolower(static_cast<unsigned char>(name.front()))) &&
           Matches(pattern.substr(1), name.substr(1));
}

// Whether the hosts field of a line names the host: a hashed name, or a comma-separated list of
// patterns in which a negated one ("!name") that matches rules the line out.
bool NamesHost(std::string_view hosts, std::string_view name) {
    if (hosts.starts_with("|1|")) {
        const std::string_view rest = hosts.substr(3);
        const auto bar = rest.find('|');
        if (bar == std::string_view::npos) {
            return false;
        }
        const std::string salt = DecodeBase64(rest.substr(0, bar));
        return !salt.empty() && HmacSha1(salt, name) == DecodeBase64(rest.substr(bar + 1));
    }
    bool named = false;
    std::size_t start = 0;
    while (start <= hosts.size()) {
        std::size_t end = hosts.find(',', start);
        if (end == std::string_view::npos) {
            end = hosts.size();
        }
        std::string_view pattern = hosts.substr(start, end - start);
        const bool negated = pattern.starts_with('!');
        if (negated) {
            pattern.remove_prefix(1);
        }
        if (Matches(pattern, name)) {
            if (negated) {
                return false;
            }
            named = true;
        }
        start = end + 1;
    }
    return named;
}

// The key type a key blob starts with (a length of four bytes, then the name).
std::string_view KeyType(std::string_view blob) {
    if (blob.size() < 4) {
        return {};
    }
    std::size_t length = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        length = length << 8 | static_cast<unsigned char>(blob[i]);
    }
    return length > blob.size() - 4 ? std::string_view() : blob.substr(4, length);
}

} // namespace

KnownHostKey LookUpKnownHost(std::string_view knownHosts, std::string_view host, int port,
                             std::string_view keyBlob) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    // ssh writes host names in lower case, and hashes them so.
    std::string name;
    for (const char c : host) {
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (port != 0 && port != 22) {
        name = "[" + name + "]:" + std::to_string(port);
    }
    const std::string_view type = KeyType(keyBlob);
    bool known = false;
    bool revokedKey = false;
    bool otherKey = false;
    std::size_t start = 0;
    while (start < knownHosts.size()) {
        std::size_t end = knownHosts.find('\n', start);
        if (end == std::string_view::npos) {
            end = knownHosts.size();
        }
        std::vector<std::string_view> words = Words(knownHosts.substr(start, end - start));
        start = end + 1;
        bool revoked = false;
        if (!words.empty() && words.front().starts_with('@')) {
            if (words.front() != "@revoked") {
                continue; // certificate authorities: we check no host certificates
            }
            revoked = true;
            words.erase(words.begin());
        }
        if (words.size() < 3 || words[0].starts_with('#') || !NamesHost(words[0], name)) {
            continue;
        }
        const std::string key = DecodeBase64(words[2]);
        if (key == keyBlob) {
            (revoked ? revokedKey : known) = true;
        } else if (!revoked && words[1] == type) {
            otherKey = true;
        }
    }
    // As ssh decides: a revoked key never passes, a key held for the host passes even when an
    // older one of its type is held too, and only another key of the same type is a change
    // (a server may offer a type the file has no key of yet).
    if (revokedKey) {
        return KnownHostKey::Changed;
    }
    if (known) {
        return KnownHostKey::Known;
    }
    return otherKey ? KnownHostKey::Changed : KnownHostKey::Unknown;
}

} // namespace scribvane
