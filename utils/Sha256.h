// SHA-256 of bytes, for naming content by what it holds: pictures made for the web carry a
// piece of their digest in their names, and the picture cache is keyed by the original's. The
// core needs it without linking a crypto library, which the static headless command cannot
// carry cheaply.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scribvane {

class Sha256 {
public:
    Sha256();
    void Add(std::string_view bytes);
    // The digest as lower-case hex; the object is spent afterwards.
    std::string HexDigest();

private:
    void Block(const unsigned char* block);

    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;
};

// Lower-case hex SHA-256 of `bytes`.
std::string Sha256Of(std::string_view bytes);

} // namespace scribvane
