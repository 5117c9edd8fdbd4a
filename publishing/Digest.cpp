// Digests and fingerprints; see Digest.h.
#include "publishing/Digest.h"

#include "utils/Errors.h"
#include "utils/TextCoding.h"

#include <array>
#include <cctype>
#include <cstring>
#include <fstream>
#include <openssl/evp.h>
#include <openssl/hmac.h>

namespace scribvane {
namespace {

using Sha256 = std::array<unsigned char, 32>;

class Hasher {
public:
    Hasher() : context_(EVP_MD_CTX_new()) {
        if (!context_ || EVP_DigestInit_ex(context_, EVP_sha256(), nullptr) != 1) {
            throw Error("SHA-256 is not available");
        }
    }
    ~Hasher() { EVP_MD_CTX_free(context_); }
    Hasher(const Hasher&) = delete;
    Hasher& operator=(const Hasher&) = delete;

    void Add(const void* data, std::size_t size) { EVP_DigestUpdate(context_, data, size); }
    Sha256 Finish() {
        Sha256 digest{};
        unsigned int size = 0;
        EVP_DigestFinal_ex(context_, digest.data(), &size);
        return digest;
    }

private:
    EVP_MD_CTX* context_;
};

std::string_view BytesOf(const Sha256& digest) {
    return {reinterpret_cast<const char*>(digest.data()), digest.size()};
}

Sha256 Digest(std::string_view bytes) {
    Hasher hasher;
    hasher.Add(bytes.data(), bytes.size());
    return hasher.Finish();
}

} // namespace

std::string Sha256Hex(std::string_view bytes) {
    return EncodeHex(BytesOf(Digest(bytes)), HexCase::Lower);
}

std::string Sha256HexOfFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw FileError("Cannot open file \"" + file.string() + "\".");
    }
    Hasher hasher;
    std::array<char, 65536> buffer{};
    while (in) {
        in.read(buffer.data(), buffer.size());
        hasher.Add(buffer.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        throw FileError("Cannot read file \"" + file.string() + "\".");
    }
    return EncodeHex(BytesOf(hasher.Finish()), HexCase::Lower);
}

std::string HmacSha1(std::string_view key, std::string_view data) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int size = 0;
    if (!HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()),
              reinterpret_cast<const unsigned char*>(data.data()), data.size(), digest.data(),
              &size)) {
        throw Error("HMAC-SHA1 is not available");
    }
    return {reinterpret_cast<const char*>(digest.data()), size};
}

std::string SshFingerprint(std::string_view keyBlob) {
    return "SHA256:" + EncodeBase64(BytesOf(Digest(keyBlob)), false);
}

std::string CertificateFingerprint(std::string_view der) {
    return EncodeHex(BytesOf(Digest(der)), HexCase::Upper, ":");
}

std::string NormalizeFingerprint(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    if (const auto equals = text.find('=');
        equals != std::string_view::npos && text.substr(0, 7) != "SHA256:") {
        text.remove_prefix(equals + 1); // "sha256 Fingerprint=AB:CD"
    }
    std::string normal(text);
    if (normal.rfind("SHA256:", 0) == 0) {
        while (!normal.empty() && normal.back() == '=') {
            normal.pop_back();
        }
        return normal; // base64 is case-sensitive
    }
    for (char& c : normal) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return normal;
}

} // namespace scribvane
