// The digests publishing compares and shows: SHA-256 of files, the fingerprints of SSH host keys
// and TLS certificates in the forms ssh-keygen -l and openssl x509 -fingerprint print, and the
// keyed hash of known_hosts' hashed host names.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace scribvane {

// Lower-case hex SHA-256 of bytes, and of a file's bytes (throws FileError when unreadable).
std::string Sha256Hex(std::string_view bytes);
std::string Sha256HexOfFile(const std::filesystem::path& file);

// The HMAC-SHA1 of `data` under `key`, as raw bytes (known_hosts hashes host names so).
std::string HmacSha1(std::string_view key, std::string_view data);

// "SHA256:" + unpadded base64 of the SHA-256 of a host key blob.
std::string SshFingerprint(std::string_view keyBlob);

// Upper-case hex byte pairs joined by ':' of the SHA-256 of a DER certificate.
std::string CertificateFingerprint(std::string_view der);

// The same fingerprint written either way a user may paste it: "sha256 Fingerprint=AB:..",
// "SHA256:abc", blanks around it. Used to compare a given fingerprint with the server's.
std::string NormalizeFingerprint(std::string_view text);

} // namespace scribvane
