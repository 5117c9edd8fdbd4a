// What the user's SSH known_hosts file says about a server's host key, read the way OpenSSH
// reads it: plain and hashed ("|1|salt|hash") host names, "[host]:port" for other ports than 22,
// lists, wildcards and negations of names, and "@revoked" keys. We only read the file; the
// user's own ssh keeps it.
#pragma once

#include <string_view>

namespace scribvane {

enum class KnownHostKey {
    Known,   // the file holds this key for the host
    Unknown, // the file holds no key of this type for the host
    Changed, // the file holds another key of this type for the host, or this key is revoked
};

// `host` as the address names it ("example.com", "[::1]"), `port` 0 for SSH's own (22);
// `keyBlob` is the key as the server sent it.
KnownHostKey LookUpKnownHost(std::string_view knownHosts, std::string_view host, int port,
                             std::string_view keyBlob);

} // namespace scribvane
