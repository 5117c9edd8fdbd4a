// Escaping and encoding for the html5 dialect; see HtmlText.h.
#include "generation/HtmlText.h"

#include "utils/TextCoding.h"
#include "utils/TextHelpers.h"
#include "utils/Win1252.h"

#include <cctype>
#include <optional>

namespace scribvane {
namespace {

// Printable characters that an address may not hold as they are.
constexpr std::string_view kNotInAddresses = "\"<>\\^`{|}";

// The length of a numeric character reference at the start of `text`, 0 when there is none.
std::size_t ReferenceLength(std::string_view text) {
    if (!text.starts_with("&#")) {
        return 0;
    }
    std::size_t at = 2;
    const bool hex = at < text.size() && (text[at] == 'x' || text[at] == 'X');
    at += hex ? 1 : 0;
    const std::size_t digits = at;
    while (at < text.size() && at - digits < 8 &&
           (hex ? std::isxdigit(static_cast<unsigned char>(text[at])) != 0
                : std::isdigit(static_cast<unsigned char>(text[at])) != 0)) {
        ++at;
    }
    if (at == digits || at >= text.size() || text[at] != ';') {
        return 0;
    }
    return at + 1;
}

// The code point of a reference of that length; nothing for one that names no character.
std::optional<char32_t> ReferenceCodePoint(std::string_view reference) {
    const bool hex = reference[2] == 'x' || reference[2] == 'X';
    const std::string_view digits = reference.substr(hex ? 3 : 2, reference.size() - (hex ? 4 : 3));
    char32_t value = 0;
    for (const char c : digits) {
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(HexDigitValue(c));
    }
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return value;
}

// "&" as a reference unless it begins one, and "<"; in an attribute also "\"", in text ">".
std::string Escape(std::string_view text, bool attribute) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '&':
            if (const std::size_t length = ReferenceLength(text.substr(i)); length != 0) {
                out.append(text.substr(i, length));
                i += length - 1;
            } else {
                out += "&amp;";
            }
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += attribute ? ">" : "&gt;";
            break;
        default:
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::string EscapeAttribute(std::string_view text) {
    return Escape(text, true);
}

std::string EscapeText(std::string_view text) {
    return Escape(text, false);
}

std::string PercentEncode(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string utf8;
        const std::size_t length = ReferenceLength(text.substr(i));
        const auto codePoint =
            length != 0 ? ReferenceCodePoint(text.substr(i, length)) : std::nullopt;
        if (codePoint) {
            AppendUtf8(utf8, *codePoint);
            i += length - 1;
        } else {
            AppendUtf8(utf8, Win1252ToCodePoint(static_cast<unsigned char>(text[i])));
        }
        out += EncodePercent(utf8);
    }
    return out;
}

std::string EncodeBlanks(std::string_view address) {
    std::string out;
    out.reserve(address.size());
    for (const char c : address) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F || kNotInAddresses.find(c) != std::string_view::npos) {
            AppendPercentEscape(out, u);
        } else {
            out += c;
        }
    }
    return out;
}

std::string TextWithoutTags(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool inTag = false;
    bool blank = false;
    for (const char c : text) {
        if (inTag) {
            inTag = c != '>';
            continue;
        }
        if (c == '<') {
            inTag = true;
            blank = true; // a tag may separate words
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            blank = true;
            continue;
        }
        if (blank && !out.empty()) {
            out += ' ';
        }
        blank = false;
        out += c;
    }
    return out;
}

std::optional<MarkupTag> TagAt(std::string_view text, std::size_t at) {
    std::size_t i = at + 1;
    MarkupTag tag;
    if (i < text.size() && text[i] == '/') {
        tag.closing = true;
        ++i;
    }
    const std::size_t nameStart = i;
    while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i])) != 0) {
        tag.name += LowerAscii(text[i]);
        ++i;
    }
    const std::size_t end = text.find('>', i);
    if (i == nameStart || end == std::string_view::npos) {
        return std::nullopt;
    }
    tag.whole = text.substr(at, end + 1 - at);
    tag.attributes = text.substr(i, end - i);
    return tag;
}

std::optional<std::string_view> AttributeOf(std::string_view attributes, std::string_view name) {
    std::size_t i = 0;
    while (i < attributes.size()) {
        while (i < attributes.size() &&
               (std::isspace(static_cast<unsigned char>(attributes[i])) != 0 ||
                attributes[i] == '/')) {
            ++i;
        }
        const std::size_t nameStart = i;
        while (i < attributes.size() && attributes[i] != '=' &&
               std::isspace(static_cast<unsigned char>(attributes[i])) == 0) {
            ++i;
        }
        const std::string_view found = attributes.substr(nameStart, i - nameStart);
        std::optional<std::string_view> value;
        if (i < attributes.size() && attributes[i] == '=') {
            ++i;
            if (i < attributes.size() && (attributes[i] == '"' || attributes[i] == '\'')) {
                const char quote = attributes[i];
                const std::size_t close = attributes.find(quote, i + 1);
                const std::size_t valueEnd =
                    close == std::string_view::npos ? attributes.size() : close;
                value = attributes.substr(i + 1, valueEnd - i - 1);
                i = valueEnd + 1;
            } else {
                const std::size_t valueStart = i;
                while (i < attributes.size() &&
                       std::isspace(static_cast<unsigned char>(attributes[i])) == 0) {
                    ++i;
                }
                value = attributes.substr(valueStart, i - valueStart);
            }
        }
        if (!found.empty() && EqualsIgnoringAsciiCase(found, name)) {
            return value ? *value : std::string_view();
        }
        if (found.empty()) {
            ++i;
        }
    }
    return std::nullopt;
}

} // namespace scribvane
