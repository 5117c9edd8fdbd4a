// The digests publishing compares and shows: SHA-256 of files, and the fingerprints of SSH host
// keys and TLS certificates in the forms ssh-keygen -l and openssl x509 -fingerprint print.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace scribvane {

// Lower-case hex SHA-256 of bytes, and of a file's bytes (throws FileError when unreadable).
std::string Sha256Hex(std::string_view bytes);
std::string Sha256HexOfFile(const std::filesystem::path& file);

// "SHA256:" + unpadded base64 of the SHA-256 of a host key blob.
std::string SshFingerprint(std::string_view keyBlob);

// Upper-case hex byte pairs joined by ':' of the SHA-256 of a DER certificate.
std::string CertificateFingerprint(std::string_view der);

// The same fingerprint written either way a user may paste it: "sha256 Fingerprint=AB:..",
// "SHA256:abc", blanks around it. Used to compare a given fingerprint with the server's.
std::string NormalizeFingerprint(std::string_view text);

} // namespace scribvane
