// The byte codings that addresses, digests and embedded pictures are written in: percent
// escapes, hexadecimal digits and base64. One home for each, so that an address, a fingerprint
// and a data: address are written by the same rules everywhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

// The value of a hexadecimal digit in either case; -1 for any other character.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

enum class HexCase { Lower, Upper };

// Two hexadecimal digits per byte, with `separator` between the pairs ("AB:CD" for ':').
std::string EncodeHex(std::string_view bytes, HexCase letters, std::string_view separator = {});

// Appends the byte as "%XX" (upper-case digits, as addresses are normally written).
void AppendPercentEscape(std::string& out, unsigned char byte);

// Every byte but the unreserved ones (A-Z a-z 0-9 - . _ ~) and those in `keptAlso` written as
// "%XX"; "/" kept keeps the shape of a path.
std::string EncodePercent(std::string_view bytes, std::string_view keptAlso = {});

// The bytes "%XX" escapes stand for; nothing when a '%' is not followed by two hexadecimal
// digits, so a broken address is refused instead of read as something else.
std::optional<std::string> DecodePercent(std::string_view text);

// The same for text that may hold a stray '%' (kept as it is), up to `limit` bytes: enough to
// read what a data: address starts with.
std::string DecodePercentLoosely(std::string_view text, std::size_t limit = std::string::npos);

// Base64 with the standard alphabet; `padded` adds the closing '=' signs (fingerprints are
// shown without them).
std::string EncodeBase64(std::string_view bytes, bool padded = true);

// The bytes of base64 text, up to `limit` of them. Characters outside the alphabet (blanks and
// line breaks inside the text) are passed over, the address-safe alphabet ('-', '_') is read
// too, and '=' ends the text.
std::string DecodeBase64(std::string_view text, std::size_t limit = std::string::npos);

} // namespace scribvane
