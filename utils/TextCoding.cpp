// Percent, hexadecimal and base64 coding; see TextCoding.h.
#include "utils/TextCoding.h"

namespace scribvane {
namespace {

constexpr std::string_view kUpperHex = "0123456789ABCDEF";
constexpr std::string_view kLowerHex = "0123456789abcdef";
constexpr std::string_view kBase64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool IsUnreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+' || c == '-') {
        return 62;
    }
    if (c == '/' || c == '_') {
        return 63;
    }
    return -1;
}

// The byte of "%XX" at the start of `text`, or -1 when it is not such an escape.
int EscapedByte(std::string_view text) {
    if (text.size() < 3 || text[0] != '%') {
        return -1;
    }
    const int high = HexDigitValue(text[1]);
    const int low = HexDigitValue(text[2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

} // namespace

std::string EncodeHex(std::string_view bytes, HexCase letters, std::string_view separator) {
    const std::string_view digits = letters == HexCase::Upper ? kUpperHex : kLowerHex;
    std::string text;
    text.reserve(bytes.size() * (2 + separator.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!text.empty()) {
            text += separator;
        }
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

void AppendPercentEscape(std::string& out, unsigned char byte) {
    out += '%';
    out += kUpperHex[byte >> 4];
    out += kUpperHex[byte & 0xF];
}

std::string EncodePercent(std::string_view bytes, std::string_view keptAlso) {
    std::string encoded;
    encoded.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte) || keptAlso.find(c) != std::string_view::npos) {
            encoded += c;
        } else {
            AppendPercentEscape(encoded, byte);
        }
    }
    return encoded;
}

std::optional<std::string> DecodePercent(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        const int byte = EscapedByte(text.substr(i));
        if (byte < 0) {
            return std::nullopt;
        }
        decoded += static_cast<char>(byte);
        i += 2;
    }
    return decoded;
}

std::string DecodePercentLoosely(std::string_view text, std::size_t limit) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size() && decoded.size() < limit; ++i) {
        if (const int byte = EscapedByte(text.substr(i)); byte >= 0) {
            decoded += static_cast<char>(byte);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::string EncodeBase64(std::string_view bytes, bool padded) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    const auto at = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[i]));
    };
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned n = at(i) << 16 | at(i + 1) << 8 | at(i + 2);
        out += kBase64[n >> 18 & 63];
        out += kBase64[n >> 12 & 63];
        out += kBase64[n >> 6 & 63];
        out += kBase64[n & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned n = at(i) << 16 | (two ? at(i + 1) << 8 : 0U);
        out += kBase64[n >> 18 & 63];
        out += kBase64[n >> 12 & 63];
        if (two) {
            out += kBase64[n >> 6 & 63];
        }
        if (padded) {
            out += two ? "=" : "==";
        }
    }
    return out;
}

std::string DecodeBase64(std::string_view text, std::size_t limit) {
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char c : text) {
        if (out.size() >= limit || c == '=') {
            break;
        }
        const int value = Base64Value(c);
        if (value < 0) {
            continue;
        }
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

} // namespace scribvane
