// Digests and fingerprints; see Digest.h.
#include "publishing/Digest.h"

#include "utils/Errors.h"

#include <array>
#include <cctype>
#include <cstring>
#include <fstream>
#include <openssl/evp.h>

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

std::string Hex(const Sha256& digest) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text;
}

Sha256 Digest(std::string_view bytes) {
    Hasher hasher;
    hasher.Add(bytes.data(), bytes.size());
    return hasher.Finish();
}

} // namespace

std::string Sha256Hex(std::string_view bytes) {
    return Hex(Digest(bytes));
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
    return Hex(hasher.Finish());
}

std::string SshFingerprint(std::string_view keyBlob) {
    const Sha256 digest = Digest(keyBlob);
    std::array<unsigned char, 48> encoded{};
    const int size = EVP_EncodeBlock(encoded.data(), digest.data(), digest.size());
    std::string text(reinterpret_cast<const char*>(encoded.data()), static_cast<std::size_t>(size));
    while (!text.empty() && text.back() == '=') {
        text.pop_back();
    }
    return "SHA256:" + text;
}

std::string CertificateFingerprint(std::string_view der) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const unsigned char byte : Digest(der)) {
        if (!text.empty()) {
            text += ':';
        }
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text;
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
